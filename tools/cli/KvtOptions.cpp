// Parsing the kvt command line.
#include "KvtOptions.h"

namespace cli {
namespace {

std::optional<int> number(const QString& text, int minimum, int maximum)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<KvtOptions> parseKvtOptions(const QStringList& args, QTextStream& err)
{
    KvtOptions o;
    o.verb = args.value(1);
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() { return args[++i]; };
        if (a == QLatin1String("--json"))
            o.json = true;
        else if (a == QLatin1String("--csv"))
            o.csv = true;
        else if (a == QLatin1String("--force"))
            o.force = true;
        else if (a == QLatin1String("--eeprom"))
            o.eeprom = true;
        else if (a == QLatin1String("--resume"))
            o.resume = true;
        else if (a == QLatin1String("--cancel"))
            o.cancel = true;
        else if (a == QLatin1String("-q") || a == QLatin1String("--quiet"))
            o.quiet = true;
        else if (a == QLatin1String("-h") || a == QLatin1String("--help"))
            o.help = true;
        else if (a == QLatin1String("--port") && hasValue)
            o.port = value();
        else if (a == QLatin1String("-o") && hasValue)
            o.output = value();
        else if ((a == QLatin1String("--period") || a == QLatin1String("--count")) && hasValue) {
            const bool period = a == QLatin1String("--period");
            const std::optional<int> n =
                period ? number(value(), 1, 3600000) : number(value(), 1, 2000000000);
            if (!n) {
                err << "motrix-cli: " << a << " " << args[i]
                    << (period ? ": erwartet Millisekunden von 1 bis 3600000\n"
                               : ": erwartet eine Anzahl ab 1\n");
                return std::nullopt;
            }
            (period ? o.periodMs : o.count) = *n;
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            err << "motrix-cli: unbekannte Option oder fehlender Wert: " << a << "\n";
            return std::nullopt;
        } else
            o.files << a;
    }
    return o;
}

}  // namespace cli
