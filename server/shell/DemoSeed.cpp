// The demo seed; see DemoSeed.h.
#include "DemoSeed.h"

#include <sstream>
#include <string>

#include "ShellRunner.h"
#include "engine/Database.h"
#include "engine/Session.h"
#include "value/OraError.h"

namespace vorn::server {

const char* demoSeedScript() {
  return
#include "DemoSeed.inc"
      ;
}

void loadDemoSeed(const std::shared_ptr<Database>& database) {
  std::ostringstream log;
  {
    ShellRunner seeder(database, database->logon("SYSTEM", "MANAGER"), log);
    std::istringstream script(demoSeedScript());
    seeder.run(script);
  }
  std::istringstream lines(log.str());
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("ORA-", 0) == 0) {
      int code = std::stoi(line.substr(4, 5));
      throw OraError(code, line);
    }
  }
}

}  // namespace vorn::server
