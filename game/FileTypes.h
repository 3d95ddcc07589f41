#pragma once

#include "fw/runtime/FileType.h"

// The program's one declared document type. Nothing opens or saves a document; the type is
// registered at start-up and read by nothing afterwards.
namespace game::FileTypes {

// Nil until the early start-up fills it.
extern fw::Ref<fw::FileType> pText;

// Creates the "text" type (Mac type "TEXT", creator "R*ch", no extension) and registers it.
void _Initialize();

}  // namespace game::FileTypes
