#include "model/CellStore.h"

#include <algorithm>
#include <string>

namespace mivora {

namespace {

[[noreturn]] void Fail(const std::string& what) { throw CellStoreError(what); }

}  // namespace

// --- Gyou ---

void Gyou::RedimGyou(std::int64_t t_gyou) {
  if (t_gyou < 0) Fail("negative column size " + std::to_string(t_gyou));
  Settle();
  entries_.resize(static_cast<std::size_t>(t_gyou));
}

void Gyou::Reset(std::int64_t t_gyou) {
  if (t_gyou < 0) Fail("negative column size " + std::to_string(t_gyou));
  pending_.reset();
  entries_.assign(static_cast<std::size_t>(t_gyou), Record{});
  units_.clear();
  units_.shrink_to_fit();
}

void Gyou::Defer(Grid::ColumnCells cells, Sorter sort) {
  Reset(0);
  entries_.shrink_to_fit();
  pending_ = std::move(cells);
  sort_ = sort;
}

void Gyou::Fill() const {
  // Taken out first: the appends and the sort below read the entries themselves.
  const Grid::ColumnCells cells = std::move(*pending_);
  pending_.reset();
  const std::int64_t n = cells.Size();
  std::int64_t units = 0;
  for (std::int64_t i = 0; i < n; ++i) units += cells.TextUtf8(i).size();
  Gyou& self = const_cast<Gyou&>(*this);
  self.Reserve(n, units);
  for (std::int64_t i = 0; i < n; ++i)
    self.Append(cells.TextUtf8(i), static_cast<std::int32_t>(i + 1));
  if (sort_ != nullptr) sort_(self, 1, n);
}

void Gyou::OutOfRange(std::int64_t sufix) const {
  Fail("position " + std::to_string(sufix) + " outside 1.." + std::to_string(Size()));
}

namespace {

std::uint64_t Pack(QStringView text, int from) {
  std::uint64_t p = 0;
  for (int i = from; i < from + 4; ++i) {
    p <<= 16;
    if (i < text.size()) p |= text[i].unicode();
  }
  return p;
}

}  // namespace

Gyou::Key::Key(QStringView t) : text(t), head(Pack(t, 0)), tail(Pack(t, 4)) {}

void Gyou::SetHeads(Record& r, QStringView text) {
  r.head = Pack(text, 0);
  r.tail = Pack(text, 4);
}

bool Gyou::SameText(std::int64_t a, std::int64_t b) const {
  const Record& ra = Entry(a);
  const Record& rb = Entry(b);
  if (ra.head != rb.head || ra.tail != rb.tail) return false;
  const std::uint32_t length = ra.length;
  if (length != rb.length) return false;
  return length <= 8 || TextAt(a) == TextAt(b);
}

void Gyou::Store(Record& r, QStringView text) {
  if (static_cast<std::uint64_t>(text.size()) > UINT32_MAX) Fail("index text too long");
  r.offset = units_.size();
  r.length = static_cast<std::uint32_t>(text.size());
  units_.insert(units_.end(), text.utf16(), text.utf16() + text.size());
  SetHeads(r, text);
}

QStringView Gyou::TextAt(std::int64_t sufix) const {
  const Record& r = Entry(sufix);
  if (r.length == 0) return {};
  return QStringView(units_.data() + r.offset, static_cast<qsizetype>(r.length));
}

void Gyou::Write(std::int64_t sufix, QByteArrayView utf8, std::int32_t row) {
  Record& r = Entry(sufix);
  r.row = row;
  const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; });
  if (!ascii) {
    Store(r, QString::fromUtf8(utf8));
    return;
  }
  // ASCII widens unit by unit, straight into the buffer.
  if (static_cast<std::uint64_t>(utf8.size()) > UINT32_MAX) Fail("index text too long");
  const std::uint64_t offset = units_.size();
  units_.resize(offset + static_cast<std::size_t>(utf8.size()));
  for (qsizetype i = 0; i < utf8.size(); ++i)
    units_[offset + i] = static_cast<char16_t>(static_cast<unsigned char>(utf8[i]));
  r.offset = offset;
  r.length = static_cast<std::uint32_t>(utf8.size());
  SetHeads(r, QStringView(units_.data() + offset, utf8.size()));
}

void Gyou::Append(QByteArrayView utf8, std::int32_t row) {
  Settle();
  entries_.emplace_back();
  Write(Size(), utf8, row);
}

void Gyou::Reserve(std::int64_t entries, std::int64_t code_units) {
  Settle();
  entries_.reserve(static_cast<std::size_t>(entries));
  units_.reserve(static_cast<std::size_t>(code_units));
}

void Gyou::WrtS(const QString& value, std::int64_t sufix) { Store(Entry(sufix), value); }
void Gyou::WrtL(std::int32_t value, std::int64_t sufix) { Entry(sufix).row = value; }
QString Gyou::RdS(int, int, std::int64_t sufix) const { return TextAt(sufix).toString(); }
std::int32_t Gyou::RdL(int, int, std::int64_t sufix) const { return Entry(sufix).row; }

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
QString Retu::sReadRG(int n_hyou, int n_retu, std::int64_t n_gyou) const {
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
