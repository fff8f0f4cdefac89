#pragma once

#include <QString>
#include <functional>

namespace mivora {

class Workspace;

// Runs a table read into a slot. When memory runs out part way, the half-read table is dropped (its cells given back, its window closed) and the
// user is told so; nothing else in the workspace changes. True when the read ran to its end.
bool ReadDroppingOnShortage(Workspace& ws, const QString& path, int slot,
                            const std::function<void()>& read);

// The message for a table dropped for want of memory.
QString TableDroppedForMemoryMessage(const QString& path);

}  // namespace mivora
