// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReductionBatch.h"

#include <QEventLoop>
#include <algorithm>
#include <memory>

namespace mirelune {

void RunReductions(const std::vector<ReductionRequest>& requests, int parallel,
                   const std::function<void(std::size_t, const ReductionOutcome&)>& onEnded,
                   const std::function<void(std::size_t)>& onStarted) {
    QEventLoop loop;
    std::vector<std::unique_ptr<FileReduction>> running(requests.size());
    // A reduction cannot be deleted inside its own finished signal; it waits
    // here until the next one ends or the batch is over.
    std::unique_ptr<FileReduction> justEnded;
    std::size_t next = 0;
    std::size_t ended = 0;
    int active = 0;
    // Once the user asked to stop, an encoder that ends (Ctrl+C reaches them
    // first) must not make room for another.
    const auto stopRequested = [&] {
        const std::function<bool()>& asked = requests[next].stopRequested;
        return asked && asked();
    };

    std::function<void()> fill = [&] {
        while (active < std::max(parallel, 1) && next < requests.size() && !stopRequested()) {
            const std::size_t index = next++;
            running[index] = std::make_unique<FileReduction>(requests[index]);
            QObject::connect(running[index].get(), &FileReduction::finished, &loop, [&, index] {
                --active;
                ++ended;
                justEnded = std::move(running[index]);
                onEnded(index, justEnded->outcome());
                fill();
                if (active == 0) {
                    loop.quit();  // all ended, or stopped
                }
            });
            if (onStarted) {
                onStarted(index);
            }
            if (running[index]->start()) {
                ++active;
            } else {
                ++ended;
                onEnded(index, running[index]->outcome());
                running[index].reset();
            }
        }
    };
    fill();
    if (active > 0) {
        loop.exec();
    }
    // Told to exit: what still runs is stopped here, and reported, so no row
    // that ran goes unaccounted for.
    for (std::size_t index = 0; index < running.size(); ++index) {
        if (running[index]) {
            QObject::disconnect(running[index].get(), nullptr, &loop, nullptr);
            running[index]->abort();
            onEnded(index, running[index]->outcome());
        }
    }
}

}  // namespace mirelune
