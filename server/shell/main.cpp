// vornsql: the embedded server's command-line shell.
//
//   vornsql [--create] [--seed demo] [--banner TEXT] [-u USER/PASSWORD] DATABASE
//
// Opens (or with --create, creates) the database, optionally loads the demo
// schemas, logs on (SYSTEM/MANAGER unless -u is given) and runs the
// statements read from standard input (see ShellRunner.h). Exits 0 when the
// input is used up, 1 with the ORA message when the database cannot be
// opened or the logon fails, 2 on a usage error.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "DemoSeed.h"
#include "ShellRunner.h"
#include "engine/Database.h"
#include "engine/Session.h"
#include "plsql/Plsql.h"
#include "value/OraError.h"

namespace {

int usage() {
  std::cerr << "usage: vornsql [--create] [--seed demo] [--banner TEXT] [-u USER/PASSWORD] "
               "DATABASE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vorn::server;
  bool create = false;
  std::string seed, banner, credentials = "SYSTEM/MANAGER", target;
  bool hasBanner = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--create") {
      create = true;
    } else if (a == "--seed" && i + 1 < argc) {
      seed = argv[++i];
    } else if (a == "--banner" && i + 1 < argc) {
      banner = argv[++i];
      hasBanner = true;
    } else if (a == "-u" && i + 1 < argc) {
      credentials = argv[++i];
    } else if (!a.empty() && a[0] == '-') {
      return usage();
    } else if (target.empty()) {
      target = a;
    } else {
      return usage();
    }
  }
  if (target.empty()) return usage();
  if (!seed.empty() && seed != "demo") {
    std::cerr << "vornsql: unknown seed " << seed << " (known: demo)\n";
    return 2;
  }
  vorn::server::plsql::installPlsql();
  try {
    const char* home = std::getenv("ORACLE_HOME");
    std::shared_ptr<Database> db =
        create ? Database::create(target) : Database::connect(target, home ? home : "");
    if (hasBanner) db->setBanner(banner);
    if (!seed.empty()) loadDemoSeed(db);
    size_t slash = credentials.find('/');
    std::string user = credentials.substr(0, slash);
    std::string password = slash == std::string::npos ? "" : credentials.substr(slash + 1);
    auto session = db->logon(user, password);
    ShellRunner runner(db, std::move(session), std::cout);
    runner.run(std::cin);
  } catch (const OraError& e) {
    std::cerr << e.message() << "\n";
    return 1;
  }
  return 0;
}
