#include "MappedFile.h"

#include <utility>

namespace tavlo {

MappedFile::~MappedFile() {
    release();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : path_(std::move(other.path_)), data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      file_(std::exchange(other.file_, -1)), guard_(std::exchange(other.guard_, -1)), opened_(other.opened_),
      copy_(std::move(other.copy_)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        file_ = std::exchange(other.file_, -1);
        guard_ = std::exchange(other.guard_, -1);
        opened_ = other.opened_;
        copy_ = std::move(other.copy_);
    }
    return *this;
}

}  // namespace tavlo
