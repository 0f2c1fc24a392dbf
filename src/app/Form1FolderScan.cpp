#include "app/Form1.h"

namespace mirelune {

// "Add All MP3 File(s) In Folder": the folder scan attaches here.
void Form1::PushButton3_Click() {}

}  // namespace mirelune
