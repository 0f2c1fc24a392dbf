#include "reduce/OutputNames.h"

#include <QDir>
#include <QFileInfo>

#include "reduce/FileIdentity.h"
#include "reduce/OutputNaming.h"

namespace mirelune {
namespace {

// A source that vanished still needs a stable key for "the same source".
QString SourceKey(const QString& source) {
    if (const auto identity = FileIdentity(source)) {
        return *identity;
    }
    return QDir::cleanPath(QFileInfo(source).absoluteFilePath());
}

}  // namespace

void OutputNames::protectSource(const QString& source) {
    if (const auto identity = FileIdentity(source)) {
        protected_.insert(*identity);
    }
}

bool OutputNames::isProtected(const QString& path) const {
    const auto identity = FileIdentity(path);
    return identity && protected_.count(*identity) != 0;
}

QString OutputNames::claim(const QString& source, const QString& wanted) {
    const QString sourceKey = SourceKey(source);
    QString candidate = wanted;
    for (int copy = 2;; ++copy) {
        const QString place = PlaceKey(candidate);
        const auto holder = claimed_.find(place);
        const bool ours = holder != claimed_.end() && holder->second == sourceKey;
        const bool free = holder == claimed_.end() && !isProtected(candidate);
        if (ours || free) {
            claimed_[place] = sourceKey;
            return candidate;
        }
        candidate = NumberedPath(wanted, copy);
    }
}

}  // namespace mirelune
