#pragma once
// Little-endian fields of file data, read only inside the data's bounds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace toolkit::win32 {

class ByteReader {
 public:
  explicit ByteReader(std::span<const unsigned char> data) : data_(data) {}
  size_t Size() const { return data_.size(); }
  bool Has(size_t offset, size_t length) const {
    return offset <= data_.size() && length <= data_.size() - offset;
  }
  std::optional<std::uint16_t> U16(size_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
  }
  std::optional<std::uint32_t> U32(size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(data_[offset]) | static_cast<std::uint32_t>(data_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(data_[offset + 2]) << 16 |
           static_cast<std::uint32_t>(data_[offset + 3]) << 24;
  }
  std::optional<std::int32_t> I32(size_t offset) const {
    auto value = U32(offset);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
  }
  std::span<const unsigned char> Bytes(size_t offset, size_t length) const {
    return Has(offset, length) ? data_.subspan(offset, length) : std::span<const unsigned char>();
  }

 private:
  std::span<const unsigned char> data_;
};

}  // namespace toolkit::win32
