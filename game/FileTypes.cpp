#include "game/FileTypes.h"

#include "fw/runtime/Runtime.h"

namespace game::FileTypes {

fw::Ref<fw::FileType> pText;

void _Initialize() {
    pText = fw::RuntimeNewObject<fw::FileType>();
    pText->SetName("text");
    pText->SetExtensions("");
    pText->SetMacType("TEXT");
    pText->SetMacCreator("R*ch");
    // Converting the type to its name is what registers it with the framework.
    (void)pText->ToString();
}

}  // namespace game::FileTypes
