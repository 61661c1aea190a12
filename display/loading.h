#pragma once
// Loading a picture file: chosen with "LOAD" or dropped on the main window.

#include <string>

#include "platform/form.h"

namespace korven {

void BUTTON2_ON();
void MAINFORM_DROPFILES(const fe::Event& drop);

// The steps both ways of choosing share: accept a BMP file or convert a JPEG
// file beside it, read it into the original and the adjusted picture, and
// show it. A file that cannot be loaded changes nothing and is reported.
void load_picture_file(const std::string& path);

// The file-name field's text changed, typed or set: the document keeps it.
void EDIT1_CHANGE();

}  // namespace korven
