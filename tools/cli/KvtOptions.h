// The command line of "motrix-cli kvt VERB ...", parsed once for every verb.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace cli {

struct KvtOptions {
    QString verb;
    QString port;
    QStringList files;  // positional arguments after the verb
    QString output;     // -o
    bool json = false;
    bool csv = false;
    bool force = false;
    bool eeprom = false;
    bool resume = false;
    bool cancel = false;
    bool help = false;
    bool quiet = false;  // the link's messages only when the command fails
    int periodMs = 100;
    int count = 0;  // 0: until Ctrl+C
};

// args as given to the tool, starting with "kvt". Nothing, with the reason on err, for an
// unknown option or a value that is no number in range.
std::optional<KvtOptions> parseKvtOptions(const QStringList& args, QTextStream& err);

}  // namespace cli
