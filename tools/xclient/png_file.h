#pragma once
#include <optional>
#include <string>

#include "tools/xclient/x11_client.h"

namespace xclient {

bool WritePng(const std::string& path, const Image& image);
std::optional<Image> ReadPng(const std::string& path);

}  // namespace xclient
