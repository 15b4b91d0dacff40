#include "saver/music/gst/gst_setup.h"

#include <mutex>

namespace music {

bool EnsureGstreamer() {
  static bool ready = [] {
    GError* error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
      if (error) g_error_free(error);
      return false;
    }
    // cdparanoiasrc cannot read disc images; keep it out of autoplugging.
    if (GstPluginFeature* paranoia = gst_registry_lookup_feature(gst_registry_get(), "cdparanoiasrc")) {
      gst_plugin_feature_set_rank(paranoia, GST_RANK_NONE);
      gst_object_unref(paranoia);
    }
    return true;
  }();
  return ready;
}

GstElement* MakeAudioSink(const std::string& description) {
  GError* error = nullptr;
  GstElement* bin = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
  if (error) {
    g_error_free(error);
    if (bin) gst_object_unref(bin);
    return nullptr;
  }
  return bin;
}

namespace {

GstBusSyncReply OnMessage(GstBus*, GstMessage* message, gpointer data) {
  auto* flags = static_cast<StreamFlags*>(data);
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
      flags->ended = true;
      break;
    case GST_MESSAGE_ERROR:
      flags->failed = true;
      break;
    default:
      break;
  }
  gst_message_unref(message);
  return GST_BUS_DROP;
}

}  // namespace

void WatchBus(GstElement* pipeline, StreamFlags* flags) {
  GstBus* bus = gst_element_get_bus(pipeline);
  gst_bus_set_sync_handler(bus, OnMessage, flags, nullptr);
  gst_object_unref(bus);
}

bool WaitForState(GstElement* pipeline, int seconds) {
  const GstStateChangeReturn result =
      gst_element_get_state(pipeline, nullptr, nullptr, static_cast<GstClockTime>(seconds) * GST_SECOND);
  return result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL;
}

}  // namespace music
