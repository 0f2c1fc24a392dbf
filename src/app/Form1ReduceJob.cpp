#include "app/Form1.h"
#include "app/Form1JobView.h"
#include "reduce/ReduceJob.h"

namespace mirelune {

// "Start Reducing". The job has its own guard, returns at once while another
// job runs, and keeps the window usable while it waits; closing the window
// stops it (Form_QueryUnload).
void Form1::PushButton2_Click() {
    Form1JobView view(*this);
    reduceJob_->run(view);
}

bool Form1::isReducing() const {
    return reduceJob_->isBusy();
}

}  // namespace mirelune
