// The demo seed: SCOTT/TIGER with EMP, DEPT, BONUS, SALGRADE and MAN/MAN
// with PERSONS and DOGS, from the script seed/demo.sql compiled into the shell.
#pragma once

#include <memory>

namespace vorn::server {

class Database;

const char* demoSeedScript();
// Runs the script as SYSTEM; raises the first ORA error a statement of it
// reports (the seed must run cleanly).
void loadDemoSeed(const std::shared_ptr<Database>& database);

}  // namespace vorn::server
