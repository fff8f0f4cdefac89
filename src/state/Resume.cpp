#include "state/Resume.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <limits>
#include <optional>
#include <vector>

#include "canvas/ScrollBars.h"
#include "conditions/ConditionCells.h"
#include "conditions/ConditionFilter.h"
#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/Connectives.h"
#include "conditions/EquationBoxes.h"
#include "model/Constants.h"
#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "search/ReportColumns.h"
#include "search/ResultWindowCommands.h"
#include "search/Search.h"
#include "state/StateFile.h"
#include "state/StatePaths.h"
#include "tablefiles/ResultWriters.h"
#include "tablefiles/TableLoading.h"
#include "tablefiles/TableNames.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr int kMax16 = std::numeric_limits<std::int16_t>::max();
constexpr int kMin32 = std::numeric_limits<int>::min();
constexpr int kMax32 = std::numeric_limits<int>::max();
// Insets the resume gives the children it places (the creation of a box uses others).
const float kPanelLabelInset = static_cast<float>(PanelLabelInset());
constexpr float kBoxTextLeft = 120;
constexpr float kSqlTextLeft = 120;
constexpr float kSqlTextTop = 240;
constexpr float kSqlTextHeightInset = 360;

// Thrown when the file does not read as described; carries the 0-based line.
struct Problem {
  int line;
};

// Thrown after a message of its own (a reader, "Irregal Equation !") stopped the resume.
struct StoppedWithMessage {};

// With MIVORA_PHASE_TIMES set, each phase of a resume reports its time on standard error
// ("mivora: phase NAME MS"), for the batch benchmark.
class PhaseClock {
 public:
  PhaseClock() : on_(qEnvironmentVariableIsSet("MIVORA_PHASE_TIMES")) { timer_.start(); }
  void Lap(const char* name) {
    if (!on_) return;
    std::fprintf(stderr, "mivora: phase %s %.1f\n", name,
                 static_cast<double>(timer_.nsecsElapsed()) / 1e6);
    timer_.restart();
  }

 private:
  bool on_;
  QElapsedTimer timer_;
};

QStringList SplitLines(const QString& text) {
  static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = text.split(kLineEnd);
  if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
  return lines;
}

// The operator of an equation text: the leftmost place where one of the nine stands, the
// longest one there. Returns its position, -1 when there is none.
qsizetype FindBoxOperator(const QString& text) {
  static const char16_t* const kLongestFirst[] = {u"%=%", u"<=", u">=", u"<>", u"%=",
                                                  u"=%",  u"=",  u"<",  u">"};
  for (qsizetype i = 0; i < text.size(); ++i) {
    for (const char16_t* op : kLongestFirst) {
      if (QStringView(text).mid(i).startsWith(QStringView(op))) return i;
    }
  }
  return -1;
}

// Where the sections start: the 0-based line of each header.
struct Skeleton {
  int tables_end = 0;  // the Tables window's size record
  int b = 0, c = 0, d = 0, e = 0, f = 0, g = 0, h = 0, i = 0, j = 0, k = 0;
};

class Resumer {
 public:
  Resumer(Workspace& ws, const QString& text) : ws_(ws), lines_(SplitLines(text)) {}

  ResumeOutcome Run();
  int ProblemLine() const { return problem_line_; }

 private:
  const QString& Line(int n) const {
    if (n < 0 || n >= lines_.size()) throw Problem{std::min<int>(n, lines_.size())};
    return lines_[n];
  }
  // The first line at or after `from` that the predicate accepts.
  template <typename Pred>
  int FindLine(int from, Pred pred) const {
    for (int n = from; n < lines_.size(); ++n)
      if (pred(lines_[n])) return n;
    throw Problem{static_cast<int>(lines_.size())};
  }
  int FindHeader(int from, const QString& marker) const {
    return FindLine(from, [&](const QString& l) { return l.contains(marker); });
  }
  int FindExact(int from, const QString& marker) const {
    return FindLine(from, [&](const QString& l) { return l == marker; });
  }
  QStringList Fields(int n, int at_least) {
    current_line_ = n;
    QStringList fields = Line(n).split(u',');
    if (fields.size() < at_least) throw Problem{n};
    return fields;
  }
  int Number(int line, const QString& field, int min, int max) const {
    std::optional<int> v = StateFieldNumber(field, min, max);
    if (!v) throw Problem{line};
    return *v;
  }
  float Coord(int line, const QString& field) const {
    return static_cast<float>(Number(line, field, kMin32, kMax32));
  }
  float Size(int line, const QString& field) const {
    return static_cast<float>(Number(line, field, 0, kMax32));
  }
  // A table slot in use, and a column of it (column 0 allowed when `any_column`).
  void CheckTableColumn(int line, int table, int column) const {
    if (!ws_.tables.SlotInUse(table)) throw Problem{line};
    if (column < 1 || column >= ws_.TableGrid(table).Cols()) throw Problem{line};
  }
  bool ModeNo() const { return ws_.resume_mode == QStringLiteral("No"); }

  void ReadSkeleton();
  void Tables();
  void Joins();
  void ReportColumnsSection();
  void Panels();
  // Refuses a panel record nested deeper than kMaxPanelNesting below the root, following the
  // containers the records name (a record whose chain runs longer, as a loop does, too).
  template <typename Records>
  void CheckPanelNesting(const Records& records) const;
  void Boxes();
  void SqlText();
  void Results();
  void ConditionCellsSection();
  ResumeOutcome ResultFile();

  Workspace& ws_;
  QStringList lines_;
  Skeleton sk_;
  int n_slots_ = 0;
  int current_line_ = 0;  // the record being read
  int problem_line_ = -1;
};

void Resumer::ReadSkeleton() {
  const QString& head = Line(0);
  if (!head.contains(QStringLiteral("#a#"))) throw Problem{0};
  n_slots_ = Number(0, head.section(u',', 0, 0), 0, kMax16);
  if (n_slots_ < kFirstTableSlot) throw Problem{0};
  // N - 3 table records, the size record, then the joins' header.
  sk_.tables_end = n_slots_ - 2;
  const int b = sk_.tables_end + 1;
  for (int n = 1; n <= sk_.tables_end && n < lines_.size(); ++n)
    if (lines_[n].contains(QStringLiteral("#b#")) && lines_[n].startsWith(QStringLiteral("JoinsF")))
      throw Problem{n};
  if (!Line(b).contains(QStringLiteral("#b#"))) throw Problem{b};
  sk_.b = b;
  sk_.c = FindHeader(sk_.b + 1, QStringLiteral("#c#"));
  sk_.d = FindHeader(sk_.c + 1, QStringLiteral("#d#"));
  sk_.e = FindHeader(sk_.d + 1, QStringLiteral("#e#"));
  sk_.f = FindExact(sk_.e + 1, QStringLiteral("#f#"));
  sk_.g = FindExact(sk_.f + 2, QStringLiteral("#g#"));
  sk_.h = FindHeader(sk_.g + 2, QStringLiteral("#h#"));
  sk_.i = FindHeader(sk_.h + 1, QStringLiteral("#i#"));
  sk_.j = FindExact(sk_.i + 1, QStringLiteral("#j#"));
  sk_.k = FindExact(sk_.j + 1, QStringLiteral("#k#"));
  if (sk_.h + 3 >= sk_.i) throw Problem{sk_.i};
}

void Resumer::Tables() {
  std::vector<int> free_slots;
  for (int n = 1; n <= n_slots_ - 3; ++n) {
    const QStringList f = Fields(n, 9);
    const qsizetype tail = f.size() - 8;
    const QString field1 = f.mid(0, tail).join(u',');
    const int saved_slot = Number(n, f[tail], 0, kMax16);
    const float left = Coord(n, f[tail + 1]);
    const float top = Coord(n, f[tail + 2]);
    const float height = Size(n, f[tail + 3]);
    const float width = Size(n, f[tail + 4]);
    const bool in_use = f[tail + 5] != QStringLiteral("False");
    const int left_col = Number(n, f[tail + 6], kMin32, kMax32);
    const int top_row = Number(n, f[tail + 7], kMin32, kMax32);

    int slot = 0;
    if (field1.isEmpty()) {
      slot = AllocateSlot(ws_, left, top, height, width);
      UpdateTableHScroll(ws_, slot);
      UpdateTableVScroll(ws_, slot);
    } else {
      QString path = field1;
      QString sheet;
      SplitWorkbookField(field1, &path, &sheet);
      const bool workbook = path != field1;
      const QString found = ResolveStateFilePath(path);
      if (found.isEmpty()) throw Problem{n};
      const QString load = workbook ? found + u'+' + sheet : found;
      const LoadResult loaded = LoadTableFile(ws_, load, TwipRect{left, top, width, height});
      if (loaded.slot == 0 || !loaded.ok) throw StoppedWithMessage{};
      slot = loaded.slot;
      // The workspace keeps the path as the file wrote it, so saving again writes it back.
      TableFileName(ws_, field1, slot);
    }
    if (!ws_.tables.IsTableSlot(saved_slot)) throw Problem{n};
    Grid& grid = ws_.TableGrid(saved_slot);
    grid.SetLeftCol(std::clamp(left_col, 1, std::max(grid.Cols(), 2) - 1));
    grid.SetTopRow(std::clamp(top_row, 1, std::max(grid.Rows(), 2) - 1));
    if (!in_use) free_slots.push_back(slot);
  }
  for (int slot : free_slots) ws_.tables.slots[slot].frame.visible = false;
  const QStringList size = Fields(sk_.tables_end, 2);
  const float height = Size(sk_.tables_end, size[0]);
  const float width = Size(sk_.tables_end, size[1]);
  if (ModeNo()) {
    ws_.tables.window.height = height;
    ws_.tables.window.width = width;
  }
}

void Resumer::Joins() {
  for (int n = sk_.b + 1; n < sk_.c; ++n) {
    if (Line(n).isEmpty()) continue;
    const QStringList f = Fields(n, 5);
    const int dt = Number(n, f[1], 0, kMax16);
    const int dc = Number(n, f[2], 0, kMax16);
    const int tt = Number(n, f[3], 0, kMax16);
    const int tc = Number(n, f[4], 0, kMax16);
    CheckTableColumn(n, dt, dc);
    CheckTableColumn(n, tt, tc);
    if (BeginJoin(ws_, dt, dc)) CompleteJoin(ws_, tt, tc);
  }
  RedrawJoinLines(ws_);
}

void Resumer::ReportColumnsSection() {
  for (int n = sk_.c + 1; n < sk_.d; ++n) {
    if (Line(n).isEmpty()) continue;
    const QStringList f = Fields(n, 3);
    const int table = Number(n, f[1], 0, kMax16);
    const int column = Number(n, f[2], 0, kMax16);
    CheckTableColumn(n, table, column);
    ToggleReportColumn(ws_, table, column);
  }
}

// "<k": the panel k; "<": none. Nothing for any other text.
std::optional<int> ContainerIndex(const QString& ref) {
  const QString t = ref.trimmed();
  if (!t.startsWith(u'<')) return std::nullopt;
  if (t.size() == 1) return kCanvas;
  std::optional<int> k = StateFieldNumber(t.mid(1), 0, kMax16);
  if (!k) return std::nullopt;
  return *k;
}

template <typename Records>
void Resumer::CheckPanelNesting(const Records& records) const {
  int highest = 0;
  for (const auto& r : records) highest = std::max(highest, r.index);
  std::vector<int> container(static_cast<std::size_t>(highest) + 1, kCanvas);
  for (const auto& r : records) container[r.index] = r.container;
  for (const auto& r : records) {
    int p = r.index;
    for (int depth = 0; p > 0 && p <= highest; ++depth) {
      if (depth >= kMaxPanelNesting) throw Problem{r.line};
      p = container[p];
    }
  }
}

void Resumer::Panels() {
  Conditions& c = ws_.conditions;
  const QString after = Line(sk_.d).section(QStringLiteral("#d#"), 1);
  // ",count,colour": the colour word follows the comma after the count.
  const QString colour = after.section(u',', 2);
  struct Record {
    int line, index, container;
    TwipRect rect;
  };
  // Every record is read and the nesting checked before any panel changes.
  std::vector<Record> records;
  for (int n = sk_.d + 1; n < sk_.e; ++n) {
    if (Line(n).isEmpty()) continue;
    const QStringList f = Fields(n, 6);
    const int i = Number(n, f[0], 0, kMax16);
    const float left = Coord(n, f[1]);
    const float top = Coord(n, f[2]);
    const float height = Size(n, f[3]);
    const float width = Size(n, f[4]);
    const std::optional<int> container = ContainerIndex(f.mid(5).join(u','));
    if (!container) throw Problem{n};
    records.push_back({n, i, *container, TwipRect{left, top, width, height}});
  }
  CheckPanelNesting(records);
  for (const Record& r : records) {
    EnsureParenthesesPanels(ws_, r.index);
    ParenthesesPanel& p = c.panels[r.index];
    p.kakko.visible = true;
    p.label_n.visible = true;
    p.kakko.rect = r.rect;
    p.label_n.rect =
        TwipRect{kPanelLabelInset, kPanelLabelInset, r.rect.width - 2 * kPanelLabelInset,
                 r.rect.height - 2 * kPanelLabelInset};
  }
  SetConnective(c.panels[0], colour == QStringLiteral("Pink"));
  for (const Record& r : records) {
    const bool root = r.index == 0;
    if (root != (r.container == kCanvas)) throw Problem{r.line};
    if (root) continue;
    if (r.container == r.index || r.container >= static_cast<int>(c.panels.size()) ||
        !c.panels[r.container].live())
      throw Problem{r.line};
    c.panels[r.index].container = r.container;
    ws_.BringToFront(c.panels[r.index].kakko);
  }
  // Every panel must reach the root; the nesting check bounds each walk.
  for (const Record& r : records) {
    int p = r.index;
    for (int steps = 0; p > 0; ++steps) {
      if (steps > kMaxPanelNesting) throw Problem{r.line};
      p = c.panels[p].container;
    }
    if (p != 0) throw Problem{r.line};
  }
  AlternateConnectives(ws_, 0);
}

void Resumer::Boxes() {
  Conditions& c = ws_.conditions;
  struct Record {
    int line, index, container;
  };
  std::vector<Record> records;
  for (int n = sk_.e + 1; n < sk_.f; ++n) {
    if (Line(n).isEmpty()) continue;
    const QStringList f = Fields(n, 7);
    const int j = Number(n, f[0], 0, kMax16);
    const float left = Coord(n, f[1]);
    const float top = Coord(n, f[2]);
    const float height = Size(n, f[3]);
    const float width = Size(n, f[4]);
    const QString text = f.mid(5, f.size() - 6).join(u',');
    const std::optional<int> container = ContainerIndex(f.constLast());
    if (!container || *container == kCanvas) throw Problem{n};
    EnsureEquationBoxes(ws_, j);
    EquationBox& b = c.boxes[j];
    b.txt_hndl.visible = true;
    b.text1.visible = true;
    b.txt_hndl.rect = TwipRect{left, top, width, height};
    b.text1.rect = TwipRect{kBoxTextLeft, 0, width - 2 * kBoxTextLeft, height};
    b.text = text;
    const qsizetype op = FindBoxOperator(text);
    if (op < 0) {
      ws_.host.ShowMessage(QStringLiteral("Irregal Equation !"));
      throw StoppedWithMessage{};
    }
    QString ref = text.left(op);
    while (ref.endsWith(u' ')) ref.chop(1);
    BoxColumnRef(ws_, j, ref);
    records.push_back({n, j, *container});
  }
  if (records.empty()) return;
  int highest = 0;
  for (const Record& r : records) highest = std::max(highest, r.index);
  if (highest >= 1) {
    CreateEquationBox(ws_, highest, 0, 0);
  } else {
    c.state.first_box_placed = true;
  }
  for (const Record& r : records) {
    if (r.container >= static_cast<int>(c.panels.size()) || !c.panels[r.container].live())
      throw Problem{r.line};
    c.boxes[r.index].container = r.container;
    ws_.BringToFront(c.boxes[r.index].txt_hndl);
  }
}

void Resumer::SqlText() {
  Conditions& c = ws_.conditions;
  const int fr = sk_.f + 1;
  const QStringList f = Fields(fr, 4);
  const float left = Coord(fr, f[0]);
  const float top = Coord(fr, f[1]);
  const float height = Size(fr, f[2]);
  const float width = Size(fr, f[3]);
  c.cnd_equation.rect = TwipRect{left, top, width, height};
  c.equation.rect =
      TwipRect{kSqlTextLeft, kSqlTextTop, width - 2 * kSqlTextLeft, height - kSqlTextHeightInset};
  c.equation_text = lines_.mid(fr + 1, sk_.g - fr - 1).join(QStringLiteral("\r\n"));
  const int gr = sk_.g + 1;
  const QStringList g = Fields(gr, 4);
  c.equation.rect.left = Coord(gr, g[0]);
  c.equation.rect.top = Coord(gr, g[1]);
  const float eq_height = Size(gr, g[2]);
  const float eq_width = Size(gr, g[3]);
  if (ModeNo()) {
    ws_.equations_window.height = eq_height;
    ws_.equations_window.width = eq_width;
  }
  RefreshConditionTexts(ws_);
}

void Resumer::Results() {
  for (int w = 0; w < 2; ++w) {
    const int n = sk_.h + 1 + w;
    const QStringList f = Fields(n, 5);
    TableSlot& window = ws_.result.windows[w];
    window.frame.rect = TwipRect{Coord(n, f[0]), Coord(n, f[1]), Size(n, f[3]), Size(n, f[2])};
    const int left_col = Number(n, f[4], kMin32, kMax32);
    Grid& grid = window.grid;
    grid.SetLeftCol(std::clamp(left_col, 1, std::max(grid.Cols(), 2) - 1));
    grid.SetTopRow(1);
    LayOutResultGridWindow(window);
  }
  const int n = sk_.h + 3;
  const QStringList size = Fields(n, 2);
  const float height = Size(n, size[0]);
  const float width = Size(n, size[1]);
  if (ModeNo()) {
    ws_.result.window.height = height;
    ws_.result.window.width = width;
  }
}

void Resumer::ConditionCellsSection() {
  const auto& boxes = ws_.conditions.boxes;
  for (int n = sk_.i + 1; n < sk_.j; ++n) {
    if (Line(n).isEmpty()) continue;
    const QStringList f = Fields(n, 5);
    const int box = Number(n, f[1], 0, kMax16);
    const int table = Number(n, f[2], 0, kMax16);
    const int row = Number(n, f[3], 0, kMax32);
    const int column = Number(n, f[4], 0, kMax16);
    CheckTableColumn(n, table, column);
    if (row < 1 || row >= ws_.TableGrid(table).Rows()) throw Problem{n};
    if (box >= static_cast<int>(boxes.size()) || !boxes[box].live()) throw Problem{n};
    if (!AddConditionCell(ws_, table, row, column, box)) throw Problem{n};
  }
}

ResumeOutcome Resumer::ResultFile() {
  const QString path = sk_.j + 1 < sk_.k ? lines_[sk_.j + 1] : QString();
  if (path.isEmpty()) {
    ws_.tables.resume_menu_enabled = false;
    ws_.tables.examples_menu_enabled = false;
    return ResumeOutcome::kComplete;
  }
  const QString sheet = sk_.j + 2 < sk_.k ? lines_[sk_.j + 2] : QString();
  const QString target = ResolveResultFilePath(path);
  const QString name = QFileInfo(path).fileName();
  auto has = [&](const char16_t* s) { return name.contains(QStringView(s), Qt::CaseInsensitive); };
  bool written = false;
  if (has(u"xls")) {
    written = WriteResultWorkbook(ws_, target, sheet);
  } else if (has(u"htm")) {
    written = WriteResultHtml(ws_, target);
  } else if (has(u"csv")) {
    written = WriteResultCsv(ws_, target);
  } else {
    ws_.host.ShowMessage(QStringLiteral("結果ファイル「") + path +
                         QStringLiteral("」の形式がわかりません。"));
  }
  ws_.exit_status = written ? 0 : 1;
  ws_.host.ExitProgram();
  return written ? ResumeOutcome::kResultWritten : ResumeOutcome::kResultNotWritten;
}

ResumeOutcome Resumer::Run() {
  try {
    ws_.tables.resume_menu_enabled = false;
    PhaseClock clock;
    ReadSkeleton();
    Tables();
    clock.Lap("loads");
    Joins();
    clock.Lap("join-indexes");
    ReportColumnsSection();
    Panels();
    Boxes();
    SqlText();
    Results();
    ConditionCellsSection();
    clock.Lap("conditions");
    if (Line(sk_.h).section(QStringLiteral("#h#,"), 1) != QStringLiteral("=")) {
      BuildJoinedGrid(ws_);
      clock.Lap("search");
      FilterJoinedRows(ws_);
      clock.Lap("filter");
      ws_.host.ShowProgress(0, 0);
      for (TableSlot& window : ws_.result.windows) LayOutResultGridWindow(window);
    }
    const ResumeOutcome outcome = ResultFile();
    clock.Lap("write");
    return outcome;
  } catch (const Problem& p) {
    problem_line_ = p.line;
    return ResumeOutcome::kStopped;
  } catch (const StoppedWithMessage&) {
    return ResumeOutcome::kStopped;
  } catch (const std::exception&) {
    // A value no check above foresaw: the record being read is the problem, not a crash.
    problem_line_ = current_line_;
    return ResumeOutcome::kStopped;
  }
}

}  // namespace

QString StateFileOpenMessage(const QString& path, const QString& reason) {
  return QStringLiteral("状態保存ファイル「") + path + QStringLiteral("」を開けません。\n") +
         reason;
}

QString ResumeDialogTitle() {
  return QString(24, u' ') + QStringLiteral("状態を保存しているファイルを読む。");
}

QString StateFileDialogFilter() { return QStringLiteral("CSV File (*.rsm);;すべてのファイル (*)"); }

bool NamesResultFile(const QString& state_text) {
  const QStringList lines = SplitLines(state_text);
  const qsizetype j = lines.lastIndexOf(QStringLiteral("#j#"));
  return j >= 0 && j + 1 < lines.size() && lines[j + 1] != QStringLiteral("#k#") &&
         !lines[j + 1].isEmpty();
}

ResumeOutcome ResumeState(Workspace& ws, const QString& state_text, const QString& source) {
  Resumer resumer(ws, state_text);
  const ResumeOutcome outcome = resumer.Run();
  if (resumer.ProblemLine() >= 0) {
    const QString where = QString::number(resumer.ProblemLine() + 1) + QStringLiteral(" 行目");
    ws.host.ShowMessage(QStringLiteral("状態保存ファイルに問題があります。\n") +
                        (source.isEmpty()
                             ? where
                             : QStringLiteral("「") + source + QStringLiteral("」の ") + where));
  }
  return outcome;
}

ResumeOutcome ChooseAndResume(Workspace& ws, const QString& path) {
  QString chosen = path;
  if (path.size() < 5) {
    const QString dir = ws.state_open_folders.DialogFolder();
    chosen = ws.host.ChooseOpenFile(ResumeDialogTitle(), StateFileDialogFilter(), dir);
    ws.state_open_folders.Remember(chosen);
  }
  if (chosen.isEmpty()) return ResumeOutcome::kCancelled;
  WaitCursor wait(ws.host);
  const QString found = ResolveStateFilePath(chosen);
  QString text, reason;
  if (!ReadStateFile(found.isEmpty() ? chosen : found, &text, &reason)) {
    ws.host.ShowMessage(StateFileOpenMessage(chosen, reason));
    return ResumeOutcome::kStopped;
  }
  return ResumeState(ws, text, chosen);
}

}  // namespace mivora
