// A card: 19 text fields, kept as cells 0 to 18 (field n is cell n - 1).
#pragma once

#include <QString>
#include <array>
#include <vector>

constexpr int FieldCount = 19;
constexpr int MemoCell = 17;  // field 18, the only field that holds line breaks
constexpr int CardIdCell = 18;  // field 19, stamped when the card is made

using Card = std::array<QString, FieldCount>;
using CardRows = std::vector<Card>;

// The field vocabulary shared by every chooser that names a field.
struct FieldInfo {
    const char* chooserEntry;  // "1 Title1" ... "19 Card ID"
    const char* label;  // label above the main window's editor
    int maxTyped;  // longest text typed in the main window (0: no limit)
};

extern const std::array<FieldInfo, FieldCount> Fields;

// True when cells 0 to 17 are all empty (the Card ID is not looked at).
bool CardFieldsEmpty(const Card& card);
