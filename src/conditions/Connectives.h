#pragma once

#include <QString>

#include "conditions/Conditions.h"

namespace mivora {

// A panel's connective is told by its label's colour alone.
inline bool IsAndPanel(const ParenthesesPanel& panel) {
  return panel.label_n.back_colour == kAndColour;
}

inline QString AndCaption() { return QStringLiteral(u"＊ And ＊ "); }
inline QString OrCaption() { return QStringLiteral(u"＋ Or ＋"); }
// The root label's caption before its connective is first switched.
inline QString InitialAndCaption() { return QStringLiteral(u"＊ And ＊"); }

// Gives the panel's label the caption and colour of And (true) or Or (false).
inline void SetConnective(ParenthesesPanel& panel, bool is_and) {
  panel.label_n.caption = is_and ? AndCaption() : OrCaption();
  panel.label_n.back_colour = is_and ? kAndColour : kOrColour;
}

// And becomes Or, Or becomes And.
inline void SwitchConnective(ParenthesesPanel& panel) { SetConnective(panel, !IsAndPanel(panel)); }

// The text written between the members of the panel.
inline QString ConnectiveText(const ParenthesesPanel& panel) {
  return IsAndPanel(panel) ? QStringLiteral(" And ") : QStringLiteral(" Or ");
}

}  // namespace mivora
