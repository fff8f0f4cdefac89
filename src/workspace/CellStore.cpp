#include "workspace/CellStore.h"

#include <string>

namespace mivora {

namespace {

[[noreturn]] void Fail(const std::string& what) { throw CellStoreError(what); }

}  // namespace

// --- Gyou ---

void Gyou::RedimGyou(std::int64_t t_gyou) {
  if (t_gyou < 0) Fail("negative column size " + std::to_string(t_gyou));
  entries_.resize(static_cast<std::size_t>(t_gyou));
}

CellEntry& Gyou::At(std::int64_t sufix) {
  if (sufix < 1 || sufix > Size())
    Fail("position " + std::to_string(sufix) + " outside 1.." + std::to_string(Size()));
  return entries_[static_cast<std::size_t>(sufix - 1)];
}

const CellEntry& Gyou::At(std::int64_t sufix) const { return const_cast<Gyou*>(this)->At(sufix); }

void Gyou::WrtS(const QString& value, std::int64_t sufix) { At(sufix).text = value; }
void Gyou::WrtL(std::int32_t value, std::int64_t sufix) { At(sufix).row = value; }
const QString& Gyou::RdS(int, int, std::int64_t sufix) const { return At(sufix).text; }
std::int32_t Gyou::RdL(int, int, std::int64_t sufix) const { return At(sufix).row; }

// --- Retu ---

void Retu::ReDimRetu(int, int n_retu) {
  if (n_retu < 1) Fail("column slot " + std::to_string(n_retu) + " below 1");
  if (n_retu > allocated_) {
    columns_.resize(static_cast<std::size_t>(n_retu));
    created_.resize(static_cast<std::size_t>(n_retu), 0);
    allocated_ = n_retu;
  }
  if (!created_[n_retu - 1]) {
    columns_[n_retu - 1] = Gyou();
    created_[n_retu - 1] = 1;
  }
}

bool Retu::ColumnCreated(int n_retu) const {
  return n_retu >= 1 && n_retu <= allocated_ && created_[n_retu - 1] != 0;
}

Gyou& Retu::Column(int n_retu) {
  if (!ColumnCreated(n_retu)) Fail("column slot " + std::to_string(n_retu) + " was never created");
  return columns_[n_retu - 1];
}

const Gyou& Retu::Column(int n_retu) const { return const_cast<Retu*>(this)->Column(n_retu); }

void Retu::RedimRG(int, int n_retu, std::int64_t t_gyou) { Column(n_retu).RedimGyou(t_gyou); }
std::int32_t Retu::lReadRG(int n_hyou, int n_retu, std::int64_t n_gyou) const {
  return Column(n_retu).RdL(n_hyou, n_retu, n_gyou);
}
const QString& Retu::sReadRG(int n_hyou, int n_retu, std::int64_t n_gyou) const {
  return Column(n_retu).RdS(n_hyou, n_retu, n_gyou);
}
void Retu::sWritRG(const QString& value, int n_retu, std::int64_t n_gyou) {
  Column(n_retu).WrtS(value, n_gyou);
}
void Retu::lWritRG(std::int32_t value, int n_retu, std::int64_t n_gyou) {
  Column(n_retu).WrtL(value, n_gyou);
}

// --- CellStore ---

void CellStore::EnsureTable(int n_hyou) {
  if (n_hyou < 0) Fail("table slot " + std::to_string(n_hyou) + " below 0");
  if (n_hyou > allocated_) {
    tables_.resize(static_cast<std::size_t>(n_hyou) + 1);
    created_.resize(static_cast<std::size_t>(n_hyou) + 1, 0);
    allocated_ = n_hyou;
  }
  if (!created_[n_hyou]) {
    tables_[n_hyou] = Retu();
    created_[n_hyou] = 1;
  }
}

bool CellStore::TableCreated(int n_hyou) const {
  return n_hyou >= 0 && n_hyou <= allocated_ && created_[n_hyou] != 0;
}

Retu& CellStore::Table(int n_hyou) {
  if (!TableCreated(n_hyou)) Fail("table slot " + std::to_string(n_hyou) + " was never created");
  return tables_[n_hyou];
}

const Retu& CellStore::Table(int n_hyou) const {
  return const_cast<CellStore*>(this)->Table(n_hyou);
}

void CellStore::EnsureColumn(int n_hyou, int n_retu) { Table(n_hyou).ReDimRetu(n_hyou, n_retu); }
void CellStore::SizeColumn(int n_hyou, int n_retu, std::int64_t t_gyou) {
  Table(n_hyou).RedimRG(n_hyou, n_retu, t_gyou);
}
QString CellStore::ReadText(int n_hyou, int n_retu, std::int64_t n_gyou) const {
  return Table(n_hyou).sReadRG(n_hyou, n_retu, n_gyou);
}
std::int32_t CellStore::ReadRow(int n_hyou, int n_retu, std::int64_t n_gyou) const {
  return Table(n_hyou).lReadRG(n_hyou, n_retu, n_gyou);
}
void CellStore::WriteText(const QString& value, int n_hyou, int n_retu, std::int64_t n_gyou) {
  Table(n_hyou).sWritRG(value, n_retu, n_gyou);
}
void CellStore::WriteRow(std::int32_t value, int n_hyou, int n_retu, std::int64_t n_gyou) {
  Table(n_hyou).lWritRG(value, n_retu, n_gyou);
}

}  // namespace mivora
