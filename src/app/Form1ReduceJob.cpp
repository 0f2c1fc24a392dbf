#include "app/Form1.h"

namespace mirelune {

// "Start Reducing": the reduce job attaches here.
void Form1::PushButton2_Click() {}

}  // namespace mirelune
