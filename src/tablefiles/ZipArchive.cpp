#include "tablefiles/ZipArchive.h"

#include <zip.h>

#include <QFile>
#include <QStringList>

namespace mivora {

namespace {

QString TooBigReason() { return QStringLiteral("展開後の大きさが 1 GB を超えます。"); }

QString ZipErrorReason(zip_t* z) { return QString::fromUtf8(zip_strerror(z)); }

}  // namespace

ZipArchive::~ZipArchive() {
  if (zip_) zip_discard(zip_);
}

bool ZipArchive::Open(const QString& path, QString* reason) {
  int error = 0;
  zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
  if (!zip_) {
    zip_error_t e;
    zip_error_init_with_code(&e, error);
    *reason = QString::fromUtf8(zip_error_strerror(&e));
    zip_error_fini(&e);
    return false;
  }
  return true;
}

bool ZipArchive::Has(const QString& name) const {
  return zip_name_locate(zip_, name.toUtf8().constData(), 0) >= 0;
}

bool ZipArchive::Spend(std::int64_t bytes, QString* reason) {
  inflated_ += bytes;
  if (inflated_ <= kInflateBudget) return true;
  *reason = TooBigReason();
  return false;
}

bool ZipArchive::Read(const QString& name, QByteArray* bytes, QString* reason) {
  std::unique_ptr<Stream> stream = OpenStream(name, reason);
  if (!stream) return false;
  bytes->clear();
  if (stream->Size() > 0 && stream->Size() < kInflateBudget) bytes->reserve(stream->Size());
  for (;;) {
    const std::int64_t n = stream->ReadMore(bytes, 1 << 20, reason);
    if (n < 0) return false;
    if (n == 0) return true;
  }
}

std::unique_ptr<ZipArchive::Stream> ZipArchive::OpenStream(const QString& name, QString* reason) {
  const zip_int64_t index = zip_name_locate(zip_, name.toUtf8().constData(), 0);
  if (index < 0) {
    *reason = QStringLiteral("「") + name + QStringLiteral("」がありません。");
    return nullptr;
  }
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &st) != 0) {
    *reason = ZipErrorReason(zip_);
    return nullptr;
  }
  if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
    *reason = QStringLiteral("暗号化されています。");
    return nullptr;
  }
  zip_file_t* file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
  if (!file) {
    *reason = ZipErrorReason(zip_);
    return nullptr;
  }
  auto stream = std::make_unique<Stream>();
  stream->file_ = file;
  stream->archive_ = this;
  stream->size_ = (st.valid & ZIP_STAT_SIZE) ? static_cast<std::int64_t>(st.size) : 0;
  return stream;
}

ZipArchive::Stream::~Stream() {
  if (file_) zip_fclose(file_);
}

std::int64_t ZipArchive::Stream::ReadMore(QByteArray* into, std::int64_t max, QString* reason) {
  const qsizetype old = into->size();
  into->resize(old + max);
  const zip_int64_t n = zip_fread(file_, into->data() + old, static_cast<zip_uint64_t>(max));
  if (n < 0) {
    into->resize(old);
    *reason = QString::fromUtf8(zip_file_strerror(file_));
    return -1;
  }
  into->resize(old + n);
  done_ += n;
  if (!archive_->Spend(n, reason)) return -1;
  return n;
}

QString ResolvePartTarget(const QString& source_part, const QString& target) {
  QStringList parts;
  QString path = target;
  if (path.startsWith(u'/')) {
    path = path.mid(1);
  } else {
    parts = source_part.split(u'/');
    parts.removeLast();  // the source's file name
  }
  for (const QString& seg : path.split(u'/')) {
    if (seg.isEmpty() || seg == u'.') continue;
    if (seg == QStringLiteral("..")) {
      if (parts.isEmpty()) return {};
      parts.removeLast();
    } else {
      parts << seg;
    }
  }
  return parts.join(u'/');
}

QString RelationshipsPartOf(const QString& part) {
  const qsizetype slash = part.lastIndexOf(u'/');
  return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
         QStringLiteral(".rels");
}

}  // namespace mivora
