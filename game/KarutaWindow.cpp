#include "game/KarutaWindow.h"

#include "fw/runtime/Runtime.h"

namespace game {

KarutaWindow::KarutaWindow()
    : FudaNum(fw::Array<int64_t>::Create(10)),
      OdaiString(fw::Array<std::string>::Create(100)),
      FudaString(fw::Array<std::string>::Create(100)) {}

fw::Ref<KarutaWindow> KarutaWindow::Instance() {
    fw::Ref<fw::Window> window = fw::Window::_GetImplicitWindow(kClassName);
    if (window.IsNil()) {
        fw::Ref<KarutaWindow> created = fw::RuntimeNewObject<KarutaWindow>();
        created->Constructor();
        window = created;
    }
    return fw::Cast<KarutaWindow>(window);
}

void KarutaWindow::Event_Open() {
    // The window was declared 560 x 562; the player's window is 570 x 510.
    SetHeight(510);
    SetWidth(570);

    HighScore = 0;
    TotalPoint = 0;
    MyPoint = 0;
    MyFont = "平成明朝";
    Kaisu = 0;
    shogo = "なし";
    ShogoText()->SetText(shogo);

    // Poem p is row p of the first pair of lists for p below 50, row p - 50 of the second pair
    // from 50 on. Only rows 0 to 49 of each list are read.
    for (int64_t i = 0; i <= 49; ++i) {
        OdaiString->Set(i, ListBox1()->List(i));
        FudaString->Set(i, ListBox2()->List(i));
        fw::RuntimeBackgroundTasks();
    }
    for (int64_t i = 50; i <= 99; ++i) {
        OdaiString->Set(i, ListBox3()->List(i - 50));
        FudaString->Set(i, ListBox4()->List(i - 50));
        fw::RuntimeBackgroundTasks();
    }

    OdaiField()->SetTextFont(MyFont);
    StartButton()->SetTextFont(MyFont);
    StaticText1()->SetTextFont(MyFont);
    StaticText2()->SetTextFont(MyFont);
}

}  // namespace game
