#pragma once
// Putting an undo or redo step's document in place and showing it.

#include "state/photo_document.h"

namespace korven {

// Makes `document` the program's document, brings the controls that show it
// in line, and shows its picture window as INICHNG and DRAW2 do, or hides it
// (before the first load).
void put_back(PhotoDocument document);

}  // namespace korven
