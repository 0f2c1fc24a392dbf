#include "app/Form1.h"

namespace mirelune {

// "Load Sample/Example Files": loading the sample files attaches here.
void Form1::PushButton5_Click() {}

}  // namespace mirelune
