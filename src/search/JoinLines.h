#pragma once

#include <QString>

namespace mivora {

class Workspace;

// The message for a join that finds no route between the windows.
inline QString UnroutableJoinMessage() {
  return QStringLiteral(
      "結合線引きがうまく行きませんでした。表を適切に再配置すれば線は回復します｡ ");
}

// Lays out the join lines again after a change of tables, joins or geometry: every valid
// join is routed through the corridors between the windows and drawn with the segments
// `line2`. A join without a route gets the message once, until it routes again.
void RedrawJoinLines(Workspace& ws);
// Hides every join-line segment (while a window is dragged).
void EraseJoinLines(Workspace& ws);

}  // namespace mivora
