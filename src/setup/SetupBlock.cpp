// Encoding and decoding of the setup block and its file form by walking the field table.
#include "setup/SetupBlock.h"

#include "setup/SetupFields.h"

namespace setup {
namespace {

enum class Form { Block, File };

QByteArray encode(const SetupRecord& record, Form form)
{
    QByteArray out(form == Form::Block ? setupBlockSize : setupFileFormSize, '\0');
    for (const FieldDescriptor& field : setupFields()) {
        if (form == Form::File && !field.inFile())
            continue;
        int pos = form == Form::Block ? field.blockOffset : field.fileOffset();
        for (int i = 0; i < field.count; ++i) {
            const int value = field.get(record, i);
            out[pos++] = static_cast<char>(value & 0xFF);
            if (field.width == Width::Word)
                out[pos++] = static_cast<char>((value >> 8) & 0xFF);
        }
    }
    return out;
}

void decode(QByteArrayView bytes, SetupRecord& record, Form form)
{
    const auto byteAt = [&bytes](qsizetype pos) -> int {
        return pos < bytes.size() ? static_cast<quint8>(bytes[pos]) : 0;
    };
    for (const FieldDescriptor& field : setupFields()) {
        if (form == Form::File && !field.inFile())
            continue;
        int pos = form == Form::Block ? field.blockOffset : field.fileOffset();
        for (int i = 0; i < field.count; ++i) {
            int value = byteAt(pos++);
            if (field.width == Width::Word)
                value |= byteAt(pos++) << 8;
            field.set(record, i, value);
        }
    }
}

}  // namespace

QByteArray encodeSetupBlock(const SetupRecord& record)
{
    return encode(record, Form::Block);
}

QByteArray encodeSetupFileForm(const SetupRecord& record)
{
    return encode(record, Form::File);
}

SetupRecord decodeSetupBlock(QByteArrayView bytes)
{
    SetupRecord record;
    decode(bytes, record, Form::Block);
    return record;
}

void decodeSetupFileForm(QByteArrayView bytes, SetupRecord& record)
{
    decode(bytes, record, Form::File);
}

}  // namespace setup
