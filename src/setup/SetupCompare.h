// The differences between two setups, field by field through the one field table: what the
// command line's "setup diff" prints, the compare window lists and a map compare can build on.
#pragma once

#include "setup/SetupFields.h"
#include "setup/SetupRecord.h"

#include <QString>
#include <vector>

namespace setup {

struct FieldDifference {
    const FieldDescriptor* field = nullptr;
    int element = 0;  // 0 for scalars
    int a = 0;        // stored values
    int b = 0;
};

// Differing cells of one map or curve.
struct CellCount {
    const FieldDescriptor* field = nullptr;
    int cells = 0;
};

struct SetupComparison {
    std::vector<FieldDifference> fields;  // in table order, every differing element
    std::vector<CellCount> maps;          // every map and curve, differing or not
    bool equal() const { return fields.empty(); }
};

// Files do not carry the injector dead times; a comparison with a file leaves them out.
enum class CompareScope { Block, File };

SetupComparison compareSetups(const SetupRecord& a, const SetupRecord& b,
                              CompareScope scope = CompareScope::Block);

// A map of 17 x 9 cells or a curve of 17 points.
bool isMapField(const FieldDescriptor& field);
bool isCurveField(const FieldDescriptor& field);
// The field's name with the element where it lies: "injectionMap[3000 Umin, 25 %]".
QString differenceName(const FieldDescriptor& field, int element);
// A stored value as the user sees it, with its unit: "1.20 V".
QString valueWithUnit(const FieldDescriptor& field, int stored);

}  // namespace setup
