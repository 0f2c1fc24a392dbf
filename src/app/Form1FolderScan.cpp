#include "app/Form1.h"
#include "filelist/FolderScan.h"

namespace mirelune {

// "Add All MP3 File(s) In Folder".
void Form1::PushButton3_Click() {
    FolderScanHost host{*window_, settings_, [this](bool busy) { setBusyPointer(busy); },
                        candidateAdder()};
    RunFolderScan(host);
}

}  // namespace mirelune
