#include "app/FileListRows.h"
#include "app/Form1.h"
#include "filelist/SampleFiles.h"

namespace mirelune {

// "Load Sample/Example Files". A row that is no longer valid stays listed
// while a job runs, so the job's remaining rows keep their places; the job
// then reports that row's failure itself.
void Form1::PushButton5_Click() {
    FileListRows rows(*fileList_, [this] { return isReducing(); });
    LoadSampleFilesAndRereadRows(rows, *window_, mp3Info(), applicationFolder_);
}

}  // namespace mirelune
