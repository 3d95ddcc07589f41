#pragma once

#include <cstdint>
#include <string>

#include "fw/core/Array.h"
#include "fw/core/Rect.h"
#include "fw/menus/Menu.h"
#include "fw/ui/Canvas.h"
#include "fw/ui/Graphics.h"
#include "fw/ui/Label.h"
#include "fw/ui/Listbox.h"
#include "fw/ui/PushButton.h"
#include "fw/ui/Separator.h"
#include "fw/ui/TextArea.h"
#include "fw/ui/TextField.h"
#include "fw/ui/Timer.h"
#include "fw/ui/Window.h"

namespace game {

struct ControlDeclaration;

// The game's main window and the one object that holds the game's state. Every handler of the
// game is an operation of this class and works on this object's state. The class is split by
// concern over several files: KarutaWindow.cpp (state and opening), KarutaWindowLayout.cpp
// (layout, controls and accessors), KarutaWindowCardSlots.cpp, KarutaWindowFuda.cpp,
// KarutaWindowDeal.cpp, KarutaWindowReveal.cpp, KarutaWindowJudge.cpp and KarutaWindowGameEnd.cpp.
class KarutaWindow : public fw::Window {
public:
    static constexpr const char* kClassName = "KarutaWindow.KarutaWindow";
    using RectArray = fw::Ref<fw::Array<fw::Ref<fw::Rect>>>;

    // The implicit instance: the open main window, or a new one built and shown.
    static fw::Ref<KarutaWindow> Instance();

    KarutaWindow();
    const char* ClassName() const noexcept override { return kClassName; }

    // ---- The game state, in declaration order -------------------------------------------
    int64_t OdaiNum = 0;                         // poem number of the current question
    fw::Ref<fw::Array<int64_t>> FudaNum;         // poem number dealt onto each card slot 0-9
    bool Seikai = false;                         // the latest judged click was right
    int64_t MyPoint = 0;                         // points of the latest judged click
    int64_t TotalPoint = 0;                      // total of the current game
    double OKtime = 0.0;                         // seconds at the latest measurement
    double StartTime = 0.0;                      // seconds when the current question was dealt
    double MyTime = 0.0;                         // OKtime - StartTime
    bool GameStarted = false;                    // a question is open
    fw::Ref<fw::Array<std::string>> OdaiString;  // whole poem by poem number
    fw::Ref<fw::Array<std::string>> FudaString;  // lower phrase by poem number
    std::string MyFont;
    int64_t Kaisu = 0;  // questions dealt in the current game, 0 to 10
    std::string shogo;  // the player's title
    int64_t HighScore = 0;

    // ---- Window events -------------------------------------------------------------------
    void Layout() override;
    void CreateControls() override;
    void _CreateControls0();
    void _CreateControls1();

    // ---- Control accessors ---------------------------------------------------------------
    fw::Ref<fw::Canvas> CardCanvas(int64_t index);
    fw::Ref<fw::Canvas> FudaCanvas(int64_t index);
    fw::Ref<fw::Label> StaticText1();
    fw::Ref<fw::Label> StaticText2();
    fw::Ref<fw::Label> StaticText3();
    fw::Ref<fw::TextField> ScoreFiled();
    fw::Ref<fw::Label> StaticText4();
    fw::Ref<fw::TextField> TotalScoreField();
    fw::Ref<fw::Label> StaticText5();
    fw::Ref<fw::TextField> TimeField();
    fw::Ref<fw::Timer> MyTimer();
    fw::Ref<fw::Separator> Separator1();
    fw::Ref<fw::PushButton> StartButton();
    fw::Ref<fw::TextArea> OdaiField();
    fw::Ref<fw::Listbox> ListBox1();
    fw::Ref<fw::Listbox> ListBox2();
    fw::Ref<fw::Listbox> ListBox3();
    fw::Ref<fw::Listbox> ListBox4();
    fw::Ref<fw::Label> StaticText6();
    fw::Ref<fw::TextField> KaisuField();
    fw::Ref<fw::Label> StaticText7();
    fw::Ref<fw::Label> StaticText8();
    fw::Ref<fw::TextField> HighScoreField();
    fw::Ref<fw::Label> ShogoText();
    fw::Ref<fw::Separator> Separator2();
    fw::Ref<fw::TextArea> MyField();
    fw::Ref<fw::Canvas> MyCanvas();

    // ---- Handlers --------------------------------------------------------------------------
    void CardCanvas_Open(fw::Ref<fw::Canvas> sender);
    void CardCanvas_Paint(fw::Ref<fw::Canvas> sender, fw::Ref<fw::Graphics> g, RectArray areas);
    bool FudaCanvas_MouseDown(fw::Ref<fw::Canvas> sender, int64_t x, int64_t y);
    void FudaCanvas_Open(fw::Ref<fw::Canvas> sender);
    void FudaCanvas_Paint(fw::Ref<fw::Canvas> sender, fw::Ref<fw::Graphics> g, RectArray areas);
    void ScoreFiled_Open(fw::Ref<fw::TextField> sender);
    void TotalScoreField_Open(fw::Ref<fw::TextField> sender);
    void MyTimer_Action(fw::Ref<fw::Timer> sender);
    void StartButton_Action(fw::Ref<fw::PushButton> sender);
    void KaisuField_Open(fw::Ref<fw::TextField> sender);
    void HighScoreField_Open(fw::Ref<fw::TextField> sender);

    // ---- Menu-item accessors: the items of the window's menu bar by name -----------------
    fw::Ref<fw::MenuItem> UntitledMenu2();
    fw::Ref<fw::MenuItem> EditMenu();
    fw::Ref<fw::AppleMenuItem> UntitledMenu3();
    fw::Ref<fw::MenuItem> UntitledMenu4();
    fw::Ref<fw::MenuItem> EditClear();
    fw::Ref<fw::MenuItem> EditPaste();
    fw::Ref<fw::MenuItem> EditCopy();
    fw::Ref<fw::MenuItem> EditCut();
    fw::Ref<fw::MenuItem> UntitledMenu0();
    fw::Ref<fw::MenuItem> EditUndo();
    fw::Ref<fw::MenuItem> FileMenu();
    fw::Ref<fw::MenuItem> UntitledMenu5();
    fw::Ref<fw::QuitMenuItem> FileQuit();
    fw::Ref<fw::MenuItem> UntitledMenu1();

    void Event_Open() override;

    // Puts the card picture of the poem dealt onto slot on that slot's card face.
    void Fuda(int64_t slot);

    // Ends a game of ten questions: title, result window, counters back to the start.
    void GameEnd();

private:
    void CreateControl(const ControlDeclaration& declaration);
    void WireEvents(const ControlDeclaration& declaration);
    template <class C>
    fw::Ref<C> ControlNamed(const char* name);
    template <class C>
    fw::Ref<C> MenuItemNamed(const char* name);
};

}  // namespace game
