#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace mivora {

class Workspace;

// The state file's text for the workspace: the eleven sections "#a#" to "#k#", every line
// ending in CR LF.
QString StateFileText(const Workspace& ws);

// A coordinate in twips as the state file writes it: the shortest plain decimal that reads
// back as the same single-precision value, "." as the decimal point, never an exponent.
QString TwipText(float value);

// Reads a state file as text: UTF-8 (a BOM dropped), else CP932; lines end at CR LF, CR or
// LF and come back each followed by CR LF. False with the reason when it cannot be read.
//
// Ceilings for hostile files: at most kMaxStateFileBytes (refused unread beyond, with the
// reason); the resume then takes table slots, joins, report columns, panel and box numbers
// up to 32,767 each (a record past one stops the resume at its line), and panels nested at
// most kMaxPanelNesting deep (checked before any panel changes). Every step is linear in the
// file's lines, except the walk from each panel to the root, bounded by the nesting ceiling.
inline constexpr qint64 kMaxStateFileBytes = qint64{64} << 20;
bool ReadStateFile(const QString& path, QString* text, QString* reason);

// Writes the text as UTF-8 without BOM through a temporary file that replaces the old one only
// when complete. False with the reason when it cannot.
bool WriteStateFile(const QString& path, const QString& text, QString* reason);

// A numeric field as the reader takes it: the longest leading number after spaces, tabs and
// line feeds (empty or non-numeric reads 0), rounded half to even. Nothing when the rounded
// value lies outside [min, max].
std::optional<int> StateFieldNumber(const QString& field, int min, int max);

}  // namespace mivora
