#include "CommandLine.h"

#include <QFile>
#include <cstdio>

namespace mirelune::cli {

QByteArrayList NativePositionals(const CommandArguments& args, const QStringList& positionals) {
    QByteArrayList result;
    result.reserve(positionals.size());
    qsizetype next = 1;  // skip the program name
    for (const QString& wanted : positionals) {
        QByteArray match = QFile::encodeName(wanted);
        for (qsizetype i = next; i < args.text.size() && i < args.native.size(); ++i) {
            if (args.text[i] == wanted) {
                match = args.native[i];
                next = i + 1;
                break;
            }
        }
        result.append(match);
    }
    return result;
}

bool ParseOrExplain(QCommandLineParser& parser, const CommandArguments& args) {
    if (parser.parse(args.text)) {
        return true;
    }
    std::fprintf(stderr, "mirelune-cli: %s\nTry '%s --help'.\n", qPrintable(parser.errorText()),
                 qPrintable(args.text.value(0)));
    return false;
}

}  // namespace mirelune::cli
