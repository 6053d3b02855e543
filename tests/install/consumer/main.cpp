// A user's program: one header, one target. It touches the host framework
// and the platform layer, and, when a machine registry names an Oracle
// home, logs a session on to its DEMO database, sets a savepoint and runs a
// query, and logs off again, so that every library must link from the
// install. The savepoint runs on the session's own query, which only the
// query engine provides: the program names nothing of it, so it shows that
// linking vorn::vorn installs the engine by itself.
#include <vorn/vorn.h>

#include <cstdio>
#include <cstdlib>

int main() {
  vorn::Variant v = std::string("42");
  const int n = v.AsInteger();
  const std::string dir = vorn::platform::GetCurrentDir();
  if (n != 42 || dir.empty()) {
    std::fprintf(stderr, "unexpected: %d '%s'\n", n, dir.c_str());
    return 1;
  }
  if (!std::getenv("VORN_MACHINE_REGISTRY")) return 0;
  try {
    vorn::TOracleSession session;
    session.SetLogonUsername("scott/tiger@DEMO");
    session.LogOn();
    if (!session.Connected()) {
      std::fprintf(stderr, "not connected after LogOn\n");
      return 1;
    }
    session.Savepoint("consumer");
    vorn::TOracleQuery query;
    query.SetSession(&session);
    query.SQL()->SetText("select count(*) from emp");
    query.Execute();
    if (query.FieldAsInteger(0) != 14) {
      std::fprintf(stderr, "unexpected count %d\n", query.FieldAsInteger(0));
      return 1;
    }
    session.Commit();
    session.LogOff();
  } catch (const vorn::Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
