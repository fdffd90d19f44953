// Binds an input field of a window to a setup field, named by its record member:
//   setup::bindSetupField<&SetupRecord::coilChargeTime>(fields, f.coilChargeTime, record);
// Taking over reads the text by the field's entry rule (convert, limit) into the record;
// showing writes the stored value back in its display form.
#pragma once

#include "forms/FieldBinding.h"
#include "setup/EntryRules.h"
#include "setup/SetupFields.h"

#include <QLineEdit>

namespace setup {

template <auto Member>
void bindSetupField(forms::FieldBinding& fields, QLineEdit* field, SetupRecord& record,
                    int element = 0)
{
    const FieldDescriptor& d = fieldOf<Member>();
    fields.bind(
        field,
        [&d, &record, element](const QString& text) {
            d.set(record, element, entryValue(d, text));
        },
        [&d, &record, element] { return displayText(d.encoding, d.get(record, element)); });
}

}  // namespace setup
