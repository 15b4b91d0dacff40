// login_manager_stand_in: the part of systemd-logind's D-Bus interface that
// xss-lock uses, on a private bus (given as $DBUS_SYSTEM_BUS_ADDRESS), for
// test machines that run no logind. One session, "c1", that every process
// belongs to; hints are taken and forgotten; a sleep inhibitor is a pipe.
// Creates the file named by its argument once the name is owned.
#include <gio/gio.h>
#include <gio/gunixfdlist.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr const char* kSession = "/org/freedesktop/login1/session/c1";

constexpr const char* kInterfaces = R"(<node>
<interface name="org.freedesktop.login1.Manager">
  <method name="GetSession"><arg type="s" direction="in"/><arg type="o" direction="out"/></method>
  <method name="GetSessionByPID"><arg type="u" direction="in"/><arg type="o" direction="out"/></method>
  <method name="Inhibit">
    <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="h" direction="out"/>
  </method>
  <signal name="PrepareForSleep"><arg type="b"/></signal>
</interface>
<interface name="org.freedesktop.login1.Session">
  <method name="SetLockedHint"><arg type="b" direction="in"/></method>
  <method name="SetIdleHint"><arg type="b" direction="in"/></method>
  <signal name="Lock"/>
  <signal name="Unlock"/>
  <property name="Id" type="s" access="read"/>
  <property name="Active" type="b" access="read"/>
</interface>
</node>)";

void Call(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method, GVariant*,
          GDBusMethodInvocation* invocation, gpointer) {
  if (g_str_equal(method, "GetSession") || g_str_equal(method, "GetSessionByPID")) {
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", kSession));
  } else if (g_str_equal(method, "Inhibit")) {
    int fds[2];
    if (pipe(fds) != 0) {
      g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.Failed", "no pipe");
      return;
    }
    GUnixFDList* list = g_unix_fd_list_new_from_array(&fds[0], 1);  // takes the read end
    g_dbus_method_invocation_return_value_with_unix_fd_list(invocation, g_variant_new("(h)", 0), list);
    g_object_unref(list);
    close(fds[1]);
  } else {
    g_dbus_method_invocation_return_value(invocation, nullptr);
  }
}

GVariant* Get(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property, GError**,
              gpointer) {
  return g_str_equal(property, "Id") ? g_variant_new_string("c1") : g_variant_new_boolean(TRUE);
}

}  // namespace

int main(int argc, char** argv) {
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
  GDBusNodeInfo* info = bus ? g_dbus_node_info_new_for_xml(kInterfaces, &error) : nullptr;
  if (info == nullptr) {
    std::fprintf(stderr, "login_manager_stand_in: %s\n", error ? error->message : "no bus");
    return 1;
  }
  const GDBusInterfaceVTable table{Call, Get, nullptr, {}};
  g_dbus_connection_register_object(bus, "/org/freedesktop/login1", info->interfaces[0], &table, nullptr, nullptr,
                                    nullptr);
  g_dbus_connection_register_object(bus, kSession, info->interfaces[1], &table, nullptr, nullptr, nullptr);
  GVariant* owned = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
      g_variant_new("(su)", "org.freedesktop.login1", 4u /* do not queue */), G_VARIANT_TYPE("(u)"),
      G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
  guint32 result = 0;
  if (owned) g_variant_get(owned, "(u)", &result);
  if (result != 1) {
    std::fprintf(stderr, "login_manager_stand_in: the name is taken\n");
    return 1;
  }
  if (argc > 1) {
    if (FILE* ready = std::fopen(argv[1], "w")) std::fclose(ready);
  }
  g_main_loop_run(g_main_loop_new(nullptr, FALSE));
  return 0;
}
