#pragma once
// One running instance per program folder: a second start ends at once.
#include <QLockFile>
#include <QString>
#include <memory>

namespace instance {

class Guard {
  public:
    explicit Guard(const QString& programFolder);
    // False when another instance of the program holds this program folder.
    bool isFirst() const { return first_; }

  private:
    std::unique_ptr<QLockFile> lock_;
    bool first_ = false;
};

} // namespace instance
