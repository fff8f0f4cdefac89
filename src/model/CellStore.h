#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "model/Grid.h"

namespace mivora {

// An index outside the cell store's contract: a slot or column never created, or a position
// beyond a column's size.
class CellStoreError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

// The entries of one indexed column, at positions 1..Size(): each a cell's text and the grid
// row it came from. Entries are small fixed-size records (the text's first code units, where
// its code units lie in the column's own buffer, the row), so the in-place sort and the
// bisection compare mostly without leaving the record.
//
// An index may be deferred: it then holds a snapshot of the grid column and is filled and
// sorted on first use, exactly as it would have been when deferred. A search that only needs
// to group rows by key reads the snapshot instead, so the index of a big table on the near
// side of its joins is never sorted.
class Gyou {
 public:
  // Sorts positions lo..hi (the column index's sort, which lives with the search).
  using Sorter = void (*)(Gyou& index, std::int64_t lo, std::int64_t hi);

  void RedimGyou(std::int64_t t_gyou);
  void WrtS(const QString& value, std::int64_t sufix);
  void WrtL(std::int32_t value, std::int64_t sufix);
  QString RdS(int n_hyou, int n_retu, std::int64_t sufix) const;
  std::int32_t RdL(int n_hyou, int n_retu, std::int64_t sufix) const;

  std::int64_t Size() const {
    return pending_ ? pending_->Size() : static_cast<std::int64_t>(entries_.size());
  }
  // Empties the column and keeps the cells (rows 1..cells.Size()) to index and sort on first use.
  void Defer(Grid::ColumnCells cells, Sorter sort);
  // The cells of a deferred index not used yet, else null.
  const Grid::ColumnCells* Pending() const { return pending_ ? &*pending_ : nullptr; }
  // Fills and sorts a deferred index now.
  void Settle() const {
    if (pending_) Fill();
  }
  // Empties the column and sizes it to t_gyou empty entries, giving back old texts' room.
  void Reset(std::int64_t t_gyou);
  // Writes an entry from a grid cell's UTF-8 text and its row.
  void Write(std::int64_t sufix, QByteArrayView utf8, std::int32_t row);
  // Adds an entry at position Size() + 1; room for entries and code units may be reserved.
  void Append(QByteArrayView utf8, std::int32_t row);
  void Reserve(std::int64_t entries, std::int64_t code_units);

  // For the sort and the bisection; positions start at 1.
  QStringView TextAt(std::int64_t sufix) const;
  std::int32_t RowAt(std::int64_t sufix) const { return Entry(sufix).row; }
  void Swap(std::int64_t a, std::int64_t b) { std::swap(Entry(a), Entry(b)); }

  // A text made ready for comparing with entries: its first eight code units packed so that
  // integer order is ordinal order.
  struct Key {
    explicit Key(QStringView text);
    Key(QStringView t, std::uint64_t h, std::uint64_t l) : text(t), head(h), tail(l) {}
    QStringView text;
    std::uint64_t head = 0;  // code units 0-3
    std::uint64_t tail = 0;  // code units 4-7
  };
  // Ordinal (UTF-16 code unit) comparison of an entry with a key: <0, 0 or >0. Texts of up to
  // eight code units compare without reading their code units.
  int Compare(std::int64_t sufix, const Key& key) const {
    const Record& r = Entry(sufix);
    if (r.head != key.head) return r.head < key.head ? -1 : 1;
    if (r.tail != key.tail) return r.tail < key.tail ? -1 : 1;
    const qsizetype length = static_cast<qsizetype>(r.length);
    if (length <= 8 && key.text.size() <= 8)
      return length == key.text.size() ? 0 : (length < key.text.size() ? -1 : 1);
    return TextAt(sufix).compare(key.text, Qt::CaseSensitive);
  }
  // The key of an entry's own text (a view: the text stays in place while entries move).
  Key KeyAt(std::int64_t sufix) const {
    const Record& r = Entry(sufix);
    return Key(TextAt(sufix), r.head, r.tail);
  }
  // Whether two entries hold the same text.
  bool SameText(std::int64_t a, std::int64_t b) const;

 private:
  struct Record {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::uint64_t offset = 0;  // where the text's code units begin in units_
    std::int32_t row = 0;
    std::uint32_t length = 0;  // the text's code units
  };
  Record& Entry(std::int64_t sufix) {
    Settle();
    if (sufix < 1 || sufix > Size()) OutOfRange(sufix);
    return entries_[static_cast<std::size_t>(sufix - 1)];
  }
  const Record& Entry(std::int64_t sufix) const {
    Settle();
    if (sufix < 1 || sufix > Size()) OutOfRange(sufix);
    return entries_[static_cast<std::size_t>(sufix - 1)];
  }
  // Fills the entries from the pending cells and sorts them (const: a deferred index reads as
  // the one it stands for).
  void Fill() const;
  [[noreturn]] void OutOfRange(std::int64_t sufix) const;
  void Store(Record& r, QStringView text);
  void SetHeads(Record& r, QStringView text);

  mutable std::vector<Record> entries_;  // entries_[0] is position 1
  mutable std::vector<char16_t> units_;  // the entries' texts
  mutable std::optional<Grid::ColumnCells> pending_;
  Sorter sort_ = nullptr;
};

// The indexed columns of one table slot, column slots from 1.
class Retu {
 public:
  void ReDimRetu(int n_hyou, int n_retu);
  void RedimRG(int n_hyou, int n_retu, std::int64_t t_gyou);
  std::int32_t lReadRG(int n_hyou, int n_retu, std::int64_t n_gyou) const;
  QString sReadRG(int n_hyou, int n_retu, std::int64_t n_gyou) const;
  void sWritRG(const QString& value, int n_retu, std::int64_t n_gyou);
  void lWritRG(std::int32_t value, int n_retu, std::int64_t n_gyou);

  int AllocatedColumns() const { return allocated_; }
  bool ColumnCreated(int n_retu) const;
  Gyou& Column(int n_retu);
  const Gyou& Column(int n_retu) const;

 private:
  std::vector<Gyou> columns_;  // columns_[0] is column slot 1
  std::vector<std::int32_t> created_;
  int allocated_ = 0;
};

// The store-wide vector of Retu objects, one per table slot from 0. Slots and columns are
// created on first use and never released.
class CellStore {
 public:
  void EnsureTable(int n_hyou);
  void EnsureColumn(int n_hyou, int n_retu);
  void SizeColumn(int n_hyou, int n_retu, std::int64_t t_gyou);
  QString ReadText(int n_hyou, int n_retu, std::int64_t n_gyou) const;
  std::int32_t ReadRow(int n_hyou, int n_retu, std::int64_t n_gyou) const;
  void WriteText(const QString& value, int n_hyou, int n_retu, std::int64_t n_gyou);
  void WriteRow(std::int32_t value, int n_hyou, int n_retu, std::int64_t n_gyou);

  int AllocatedTables() const { return allocated_; }
  bool TableCreated(int n_hyou) const;
  Retu& Table(int n_hyou);
  const Retu& Table(int n_hyou) const;
  // The entry vector of one column, for the sort and the bisection.
  Gyou& Column(int n_hyou, int n_retu) { return Table(n_hyou).Column(n_retu); }
  const Gyou& Column(int n_hyou, int n_retu) const { return Table(n_hyou).Column(n_retu); }

 private:
  std::vector<Retu> tables_;  // tables_[n] is slot n
  std::vector<std::int32_t> created_;
  int allocated_ = -1;  // highest slot allocated; none yet
};

}  // namespace mivora
