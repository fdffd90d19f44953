// The one table of setup fields: name, position in the block and the file, width, encoding,
// editing range, default and German label. The block and file codecs, the command-line tool
// and the settings window all walk this table instead of repeating the layout.
#pragma once

#include "setup/SetupRecord.h"

#include <QString>
#include <QStringView>
#include <span>
#include <type_traits>
#include <utility>

namespace setup {

// How a stored value n maps to the unit the user sees.
enum class Encoding {
    Degrees,     // n °KW
    Rpm100,      // 100 n rpm
    Rpm20,       // 20 n rpm
    Temp20,      // n - 20 °C
    CentiVolt,   // n / 100 V
    Percent,     // n %
    PerMille,    // n °/oo
    Micros,      // n µs
    Charge250,   // 250 n µs
    Flag,        // 0 off, 1 on
    Count,       // plain number
    Factor,      // plain number, typed with decimals and rounded
    MilliVolt,   // n / 1000 V, typed with decimals and truncated
    Bits,        // bit set
    Choice,      // option number
    LimpTiming,  // n - 30 °KW
    Correction,  // n + 85 %
};

enum class Width { Byte = 1, Word = 2 };

struct FieldDescriptor {
    int number;  // 1..73 as the entries are counted; 0 for the dead times (block only)
    const char* name;
    int blockOffset;
    Width width;
    int count;  // elements (1 for scalars)
    Encoding encoding;
    int minimum;  // stored range the editing windows enforce
    int maximum;
    int defaultValue;
    const char* label;  // UTF-8
    int (*get)(const SetupRecord&, int element);
    void (*set)(SetupRecord&, int element, int value);

    int bytes() const { return static_cast<int>(width) * count; }
    bool inFile() const { return number != 0; }
    // The file form lacks the six bytes of the dead times, which lie before entry 60.
    int fileOffset() const { return number >= 60 ? blockOffset - 6 : blockOffset; }
    QString germanLabel() const { return QString::fromUtf8(label); }
    QString fieldName() const { return QString::fromLatin1(name); }
};

// All entries in block order, the dead times included.
std::span<const FieldDescriptor> setupFields();
const FieldDescriptor* findField(QStringView name);

// The accessors the table is made of, one per record member.
namespace detail {
template <auto Member>
int getScalar(const SetupRecord& r, int)
{
    return r.*Member;
}

template <auto Member>
void setScalar(SetupRecord& r, int, int value)
{
    using T = std::remove_reference_t<decltype(r.*Member)>;
    r.*Member = static_cast<T>(value);
}

template <auto Member>
int getElement(const SetupRecord& r, int element)
{
    return (r.*Member)[static_cast<size_t>(element)];
}

template <auto Member>
void setElement(SetupRecord& r, int element, int value)
{
    using T = typename std::remove_reference_t<decltype(r.*Member)>::value_type;
    (r.*Member)[static_cast<size_t>(element)] = static_cast<T>(value);
}

const FieldDescriptor& entryWithGetter(int (*get)(const SetupRecord&, int));
}  // namespace detail

// The table entry of a record member, named by the member itself so that the compiler checks
// the name: fieldOf<&SetupRecord::coilChargeTime>().
template <auto Member>
const FieldDescriptor& fieldOf()
{
    using T = std::remove_cvref_t<decltype(std::declval<SetupRecord&>().*Member)>;
    if constexpr (std::is_arithmetic_v<T>) {
        static const FieldDescriptor& entry = detail::entryWithGetter(&detail::getScalar<Member>);
        return entry;
    } else {
        static const FieldDescriptor& entry = detail::entryWithGetter(&detail::getElement<Member>);
        return entry;
    }
}

}  // namespace setup
