#pragma once
// The two zoom check boxes of the main window: "in x" and "out  1/".

namespace korven {

void CHECK2_ON();
void CHECK7_ON();

}  // namespace korven
