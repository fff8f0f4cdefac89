#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace mivora {

// An index outside the cell store's contract: a slot or column never created, or a position
// beyond a column's size.
class CellStoreError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

// One entry of a column index: a cell's text and the grid row it came from.
struct CellEntry {
  QString text;
  std::int32_t row = 0;
};

// The entries of one indexed column, at positions 1..Size().
class Gyou {
 public:
  void RedimGyou(std::int64_t t_gyou);
  void WrtS(const QString& value, std::int64_t sufix);
  void WrtL(std::int32_t value, std::int64_t sufix);
  const QString& RdS(int n_hyou, int n_retu, std::int64_t sufix) const;
  std::int32_t RdL(int n_hyou, int n_retu, std::int64_t sufix) const;

  std::int64_t Size() const { return static_cast<std::int64_t>(entries_.size()); }
  // Direct access for the in-place sort and the bisection; positions start at 1.
  CellEntry& At(std::int64_t sufix);
  const CellEntry& At(std::int64_t sufix) const;

 private:
  std::vector<CellEntry> entries_;  // entries_[0] is position 1
};

// The indexed columns of one table slot, column slots from 1.
class Retu {
 public:
  void ReDimRetu(int n_hyou, int n_retu);
  void RedimRG(int n_hyou, int n_retu, std::int64_t t_gyou);
  std::int32_t lReadRG(int n_hyou, int n_retu, std::int64_t n_gyou) const;
  const QString& sReadRG(int n_hyou, int n_retu, std::int64_t n_gyou) const;
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
