#pragma once

#include <QString>
#include <optional>

#include "search/SearchState.h"

namespace mivora {

// The column tag of a joined-grid column: table slot, "/", grid column (for example "5/3").
QString MakeColumnTag(int table, int column);
// Reads a tag back; both numbers are whole numbers of any length. Nothing when it is no tag.
std::optional<ColumnRef> ParseColumnTag(const QString& tag);

// The texts of the joined grid's layout.
inline QString NoMatchMark() { return QStringLiteral("--------"); }
constexpr char16_t kConditionColumnPrefix = u'*';
constexpr char16_t kJoinColumnPrefix = u'=';

}  // namespace mivora
