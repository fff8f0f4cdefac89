// Condition texts, differential: reading the text directly and the parsed form (row by row and
// a block of rows at once) give the same value for every row, and the same parenthesis
// messages. Byte 0xFE stands for a lone high surrogate and 0xFF for a lone low one, so texts
// reach what UTF-8 cannot hold.
#include "FuzzCheck.h"
#include "conditions/ConditionEvaluation.h"
#include "conditions/ParsedCondition.h"
#include "model/Grid.h"

namespace {

const mivora::Grid& Joined() {
  static const mivora::Grid joined = [] {
    mivora::Grid g;
    const QStringList headers = {QStringLiteral("Name"),  QStringLiteral("*Name"),
                                 QStringLiteral("*Code"), QStringLiteral("*Qty"),
                                 QStringLiteral("=Dept"), QStringLiteral("*")};
    g.SetCols(1 + static_cast<int>(headers.size()));
    for (int c = 0; c < headers.size(); ++c) g.SetText(0, c + 1, headers[c]);
    g.AppendRow({QString(), QStringLiteral("4/1"), QStringLiteral("4/2"), QStringLiteral("4/3"),
                 QStringLiteral("4/4"), QStringLiteral("4/5"), QStringLiteral("4/6")});
    const QStringList rows[] = {
        {QStringLiteral("abc"), QStringLiteral(" abc "), QStringLiteral("1"), QStringLiteral("10")},
        {QStringLiteral("😀"), QStringLiteral("😀?"), QStringLiteral("?"), QStringLiteral("1e400")},
        {QStringLiteral("山田"), QStringLiteral(" 山田太郎 "), QStringLiteral(" 1"),
         QStringLiteral("-1E+400")},
        {QString(), QString(), QStringLiteral("&HFF"), QStringLiteral(" 1 5")},
        {QStringLiteral("(x)"), QStringLiteral("And Or"), QStringLiteral("1e-400"),
         QStringLiteral("0.5D2")},
    };
    int n = 1;
    for (const QStringList& row : rows)
      g.AppendRow(QStringList{QString::number(n++)} + row +
                  QStringList{QStringLiteral("d"), QStringLiteral("x")});
    return g;
  }();
  return joined;
}

QString TextOf(const std::uint8_t* data, std::size_t size) {
  QString text;
  QByteArray run;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFE || data[i] == 0xFF) {
      text += QString::fromUtf8(run);
      run.clear();
      text += QChar(data[i] == 0xFE ? 0xD83D : 0xDE00);
    } else {
      run += static_cast<char>(data[i]);
    }
  }
  return text + QString::fromUtf8(run);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mivora;
  if (size > 65536) return 0;
  const Grid& joined = Joined();
  const QString text = TextOf(data, size);
  const ParsedCondition parsed(text, joined);
  QStringList messages;
  TruthValue block[8];
  const int rows = joined.Rows() - 2;
  parsed.EvaluateRows(joined, 2, rows, block);
  for (int row = 2; row < joined.Rows(); ++row) {
    QStringList* m = row == 2 ? &messages : nullptr;
    const TruthValue direct = EvaluateCondition(joined, text, row, m);
    FUZZ_CHECK(direct == parsed.Evaluate(joined, row));
    FUZZ_CHECK(direct == block[row - 2]);
  }
  FUZZ_CHECK(messages == parsed.Messages());
  return 0;
}
