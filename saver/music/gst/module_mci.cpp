// SystemMci on Linux: the program's side of the music module. Where the
// module cannot be loaded, every command fails as a driver that cannot be
// loaded, and no sound plays; the run goes on without music.
#include <dlfcn.h>

#include <string>

#include "saver/common/program_folder.h"
#include "saver/music/gst/gst_module.h"
#include "saver/music/gst/mci_error_text.h"
#include "saver/music/mci.h"
#include "saver/music/mci_errors.h"
#include "saver/music/reply_buffer.h"

namespace music {
namespace {

class ModuleMci final : public Mci {
 public:
  std::uint32_t SendString(std::string_view command, std::span<char> reply) override {
    Mci* backend = Backend();
    return backend != nullptr ? backend->SendString(command, reply) : Code(MciErr::CannotLoadDriver);
  }

  // The texts need no GStreamer: they are the program's own.
  bool GetErrorString(std::uint32_t code, std::span<char> buffer) override {
    const auto text = MciErrorText(code);
    if (!text || buffer.empty()) return false;
    WriteReply(*text, buffer);
    return true;
  }

  bool PlaySoundFile(std::optional<std::string_view> sound, std::uint32_t flags) override {
    // Stopping what never played needs no module.
    if (!sound && !loaded_) return true;
    Mci* backend = Backend();
    return backend != nullptr && backend->PlaySoundFile(sound, flags);
  }

  std::uint32_t WaveOutDeviceCount() override {
    Mci* backend = Backend();
    return backend != nullptr ? backend->WaveOutDeviceCount() : 0;
  }

 private:
  Mci* Backend() {
    if (tried_) return backend_;
    tried_ = true;
    // Only the program's own module: never one found on a search path.
    const std::string path = common::ProgramFolder() + "/" + kMusicModulePath;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return nullptr;
    using Entry = Mci* (*)();
    if (auto entry = reinterpret_cast<Entry>(dlsym(module, kMusicModuleEntry))) backend_ = entry();
    loaded_ = backend_ != nullptr;
    return backend_;
  }

  bool tried_ = false;
  bool loaded_ = false;
  Mci* backend_ = nullptr;
};

}  // namespace

Mci& SystemMci() {
  static ModuleMci mci;
  return mci;
}

}  // namespace music
