// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderResource.h"

#include <QCoreApplication>
#include <QFile>
#include <optional>

#include "shell/Failure.h"

// The resource lives in a static library, so nothing would pull its
// registration into the program unless it is named once; this must sit
// outside any namespace.
static void RegisterEncoderResource() {
    Q_INIT_RESOURCE(encoder);
}

namespace mirelune {
namespace {

std::optional<QByteArray>& OverriddenBytes() {
    static std::optional<QByteArray> bytes;
    return bytes;
}

QString ResourcePath(EncoderBuild build) {
    static const bool registered = (RegisterEncoderResource(), true);
    Q_UNUSED(registered);
    return build == EncoderBuild::X86_64_V3 ? QStringLiteral(":/mirelune/lame-x86-64-v3")
                                            : QStringLiteral(":/mirelune/lame");
}

}  // namespace

QByteArray LoadEncoderBytes() {
    if (OverriddenBytes()) {
        return *OverriddenBytes();
    }
    static const EncoderBuild chosen = ChooseEncoderBuild(
        ProcessorRunsX86_64V3(), QFile::exists(ResourcePath(EncoderBuild::X86_64_V3)));
    return LoadEncoderBytes(chosen);
}

QByteArray LoadEncoderBytes(EncoderBuild build) {
    QFile resource(ResourcePath(build));
    if (build != EncoderBuild::Baseline && !resource.exists()) {
        return {};
    }
    if (!resource.open(QIODevice::ReadOnly)) {
        throw Failure(
            QCoreApplication::translate("EncoderResource", "The built-in encoder cannot be read."));
    }
    return resource.readAll();
}

EncoderBytesOverride::EncoderBytesOverride(QByteArray bytes) {
    if (OverriddenBytes()) {
        previous_ = *OverriddenBytes();
        hadPrevious_ = true;
    }
    OverriddenBytes() = std::move(bytes);
}

EncoderBytesOverride::~EncoderBytesOverride() {
    if (hadPrevious_) {
        OverriddenBytes() = previous_;
    } else {
        OverriddenBytes().reset();
    }
}

}  // namespace mirelune
