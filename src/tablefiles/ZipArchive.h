#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

struct zip;
struct zip_file;

namespace mivora {

// A zip archive opened for reading. Entry names never reach the file system; every entry
// read counts its inflated bytes against one budget for the archive, so a small archive that
// inflates to gigabytes is refused rather than filling memory.
class ZipArchive {
 public:
  static constexpr std::int64_t kInflateBudget = std::int64_t{1} << 30;

  ZipArchive() = default;
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool Open(const QString& path, QString* reason);
  bool Has(const QString& name) const;
  // A whole entry; false with a reason when missing, broken or over the budget.
  bool Read(const QString& name, QByteArray* bytes, QString* reason);

  // Reads an entry in pieces.
  class Stream {
   public:
    ~Stream();
    // Appends up to `max` inflated bytes; 0 at the end; -1 on failure (reason set).
    std::int64_t ReadMore(QByteArray* into, std::int64_t max, QString* reason);
    std::int64_t Size() const { return size_; }
    std::int64_t Done() const { return done_; }

   private:
    friend class ZipArchive;
    zip_file* file_ = nullptr;
    ZipArchive* archive_ = nullptr;
    std::int64_t size_ = 0;
    std::int64_t done_ = 0;
  };
  std::unique_ptr<Stream> OpenStream(const QString& name, QString* reason);

  zip* Handle() const { return zip_; }

 private:
  bool Spend(std::int64_t bytes, QString* reason);

  zip* zip_ = nullptr;
  std::int64_t inflated_ = 0;
};

// The archive path of a relationship target: relative to the folder of the part that names
// it, or absolute from the archive's root; "." and ".." are resolved inside the archive.
// Empty when the target leaves the archive.
QString ResolvePartTarget(const QString& source_part, const QString& target);

// The relationships part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
QString RelationshipsPartOf(const QString& part);

}  // namespace mivora
