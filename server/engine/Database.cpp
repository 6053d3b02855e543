// Databases: files, the process-wide registry, accounts; see Database.h.
#include "engine/Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/Dictionary.h"
#include "engine/Session.h"
#include "engine/Sqlite.h"
#include "value/AsciiCase.h"
#include "value/LibraryTable.h"
#include "value/OraError.h"
#include "value/SessionValues.h"

namespace vorn::server {
namespace {

// The open databases of the process. A database held by an object of
// static storage duration closes while the process exits, after
// function-local statics constructed later are gone.
struct OpenDatabases {
  std::mutex mutex;
  std::map<std::string, std::weak_ptr<Database>> byPath;
  bool empty() const { return byPath.empty(); }
};

OpenDatabases& openDatabases() {
  static LibraryTable<OpenDatabases> table;
  return table.get();
}

std::mutex& registryMutex() {
  return openDatabases().mutex;
}

std::map<std::string, std::weak_ptr<Database>>& registry() {
  return openDatabases().byPath;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The value of "(KEY = value)" inside a tnsnames description.
std::string descriptionValue(const std::string& description, const std::string& key) {
  std::string upper = asciiUpperCase(description);
  size_t pos = 0;
  while ((pos = upper.find(key, pos)) != std::string::npos) {
    size_t before = pos;
    while (before > 0 && std::isspace(static_cast<unsigned char>(upper[before - 1])))
      --before;
    size_t after = pos + key.size();
    while (after < upper.size() && std::isspace(static_cast<unsigned char>(upper[after])))
      ++after;
    if (before > 0 && upper[before - 1] == '(' && after < upper.size() && upper[after] == '=') {
      size_t start = after + 1;
      size_t end = description.find(')', start);
      std::string v = description.substr(start, end - start);
      v.erase(0, v.find_first_not_of(" \t\r\n"));
      v.erase(v.find_last_not_of(" \t\r\n") + 1);
      return v;
    }
    pos += key.size();
  }
  return {};
}

// Looks `alias` up in a tnsnames.ora file (following IFILE entries);
// returns the description text, empty when absent.
bool findAlias(const std::string& file, const std::string& alias, std::string& description,
               int depth = 0) {
  if (depth > 8) return false;
  std::string text = readFile(file);
  if (text.empty()) return false;
  // Comments run from '#' to the end of the line.
  std::string clean;
  bool comment = false;
  for (char c : text) {
    if (c == '#') comment = true;
    if (c == '\n') comment = false;
    if (!comment) clean += c;
  }
  size_t i = 0;
  const std::string want = asciiUpperCase(alias);
  while (i < clean.size()) {
    size_t eq = clean.find('=', i);
    if (eq == std::string::npos) break;
    std::string names = clean.substr(i, eq - i);
    size_t j = eq + 1;
    while (j < clean.size() && std::isspace(static_cast<unsigned char>(clean[j])))
      ++j;
    std::string body;
    if (j < clean.size() && clean[j] == '(') {
      int d = 0;
      size_t k = j;
      for (; k < clean.size(); ++k) {
        if (clean[k] == '(') ++d;
        if (clean[k] == ')' && --d == 0) break;
      }
      body = clean.substr(j, k - j + 1);
      i = k + 1;
    } else {
      size_t k = clean.find('\n', j);
      body = clean.substr(j, k == std::string::npos ? std::string::npos : k - j);
      i = k == std::string::npos ? clean.size() : k + 1;
    }
    std::stringstream ss(names);
    std::string name;
    while (std::getline(ss, name, ',')) {
      name.erase(0, name.find_first_not_of(" \t\r\n"));
      name.erase(name.find_last_not_of(" \t\r\n") + 1);
      std::string up = asciiUpperCase(name);
      if (up == "IFILE") {
        std::string inc = body;
        inc.erase(0, inc.find_first_not_of(" \t\r\n\"'"));
        inc.erase(inc.find_last_not_of(" \t\r\n\"'") + 1);
        if (!inc.empty() && inc[0] != '/') {
          inc = (std::filesystem::path(file).parent_path() / inc).string();
        }
        if (findAlias(inc, alias, description, depth + 1)) return true;
        continue;
      }
      if (up == want || up == want + ".WORLD" ||
          (up.find('.') != std::string::npos && up.substr(0, up.find('.')) == want &&
           want.find('.') == std::string::npos)) {
        description = body;
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::string Database::resolvePath(const std::string& identifier, const std::string& oracleHome) {
  namespace fs = std::filesystem;
  std::string id = identifier;
  id.erase(0, id.find_first_not_of(" \t"));
  id.erase(id.find_last_not_of(" \t") + 1);
  if (id.empty()) raiseOra(12154);
  bool looksLikePath = id.find('/') != std::string::npos || id.find('\\') != std::string::npos ||
                       (id.size() > 3 && id.compare(id.size() - 3, 3, ".db") == 0);
  if (looksLikePath) {
    if (fs::exists(id)) return id;
    raiseOra(12154);
  }
  std::vector<std::string> files;
  if (const char* tns = std::getenv("TNS_ADMIN"); tns && *tns) {
    files.push_back((fs::path(tns) / "tnsnames.ora").string());
  }
  if (!oracleHome.empty()) {
    files.push_back((fs::path(oracleHome) / "network" / "admin" / "tnsnames.ora").string());
  }
  std::string name = id;
  for (const std::string& f : files) {
    std::string description;
    if (!findAlias(f, id, description)) continue;
    std::string path = descriptionValue(description, "PATH");
    if (!path.empty()) {
      if (fs::path(path).is_relative() && !oracleHome.empty()) {
        path = (fs::path(oracleHome) / path).string();
      }
      if (fs::exists(path)) return path;
      raiseOra(12154);
    }
    std::string sid = descriptionValue(description, "SID");
    if (sid.empty()) sid = descriptionValue(description, "SERVICE_NAME");
    if (!sid.empty()) name = sid;
    break;
  }
  if (!oracleHome.empty()) {
    for (const std::string& n : {name, asciiUpperCase(name)}) {
      fs::path p = fs::path(oracleHome) / "oradata" / (n + ".db");
      if (fs::exists(p)) return p.string();
    }
  }
  raiseOra(12154);
}

std::shared_ptr<Database> Database::connect(const std::string& identifier,
                                            const std::string& oracleHome) {
  return open(resolvePath(identifier, oracleHome));
}

std::shared_ptr<Database> Database::open(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::exists(path, ec)) raiseOra(12154);
  std::string key = fs::weakly_canonical(path, ec).string();
  {
    std::lock_guard lock(registryMutex());
    auto it = registry().find(key);
    if (it != registry().end()) {
      if (auto db = it->second.lock()) return db;
    }
  }
  // Opened outside the registry lock: a failing open destroys the object,
  // whose destructor takes the lock.
  std::shared_ptr<Database> db(new Database(key));
  db->loadCatalog();
  std::lock_guard lock(registryMutex());
  auto& slot = registry()[key];
  if (auto other = slot.lock()) return other;
  slot = db;
  return db;
}

std::shared_ptr<Database> Database::create(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists(path, ec)) raiseOra(1501);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    raiseOra(1501);
  }
  try {
    execSql(db, "PRAGMA journal_mode=WAL");
    execSql(db, "BEGIN IMMEDIATE");
    createCatalogTables(db);
    execSql(db, "COMMIT");
  } catch (...) {
    sqlite3_close(db);
    fs::remove(path, ec);
    throw;
  }
  sqlite3_close(db);
  auto database = open(path);
  UserInfo sys;
  sys.id = 0;
  sys.name = "SYS";
  auto session = database->startSession(sys, nullptr);
  createDictionary(*session);
  return database;
}

Database::Database(std::string path) : path_(std::move(path)) {
  admin_ = openConnection();
}

Database::~Database() {
  try {
    if (admin_) {
      execSql(admin_, "BEGIN IMMEDIATE");
      flushSequences(admin_);
      execSql(admin_, "COMMIT");
    }
  } catch (...) {
    // Best effort: the numbers handed out were never committed by anyone.
  }
  versionQuery_.reset();
  sqlite3_close_v2(admin_);
  std::lock_guard lock(registryMutex());
  auto it = registry().find(path_);
  if (it != registry().end() && it->second.expired()) registry().erase(it);
}

sqlite3* Database::openConnection() {
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    raiseOra(12154);
  }
  sqlite3_busy_timeout(db, static_cast<int>(defaultLockWait().count()));
  execSql(db,
          "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA case_sensitive_like=ON; "
          "PRAGMA foreign_keys=OFF");
  return db;
}

void Database::loadCatalog() {
  std::lock_guard lock(mutex_);
  catalog_ = Catalog::load(admin_, ++catalogVersion_);
  storedVersion_ = catalogProperty(admin_, "CATALOG_VERSION");
}

std::string Database::storedCatalogVersion() {
  if (!versionQuery_) {
    versionQuery_ = std::make_unique<SqlStatement>(
        admin_, "SELECT VALUE$ FROM \"SYS.PROPS$\" WHERE NAME = 'CATALOG_VERSION'");
  }
  std::string stored = versionQuery_->step() ? versionQuery_->getText(0) : std::string();
  // Reset at once, so that the connection keeps no read open between calls.
  versionQuery_->reset();
  return stored;
}

void Database::refreshCatalog() {
  std::lock_guard lock(mutex_);
  std::string stored = storedCatalogVersion();
  if (stored == storedVersion_) return;
  // Another process changed the catalog.
  catalog_ = Catalog::load(admin_, ++catalogVersion_);
  storedVersion_ = stored;
}

std::shared_ptr<const Catalog> Database::catalog() const {
  std::lock_guard lock(mutex_);
  return catalog_;
}

void Database::publishCatalog(sqlite3* db) {
  std::lock_guard lock(mutex_);
  catalog_ = Catalog::load(db, ++catalogVersion_);
  storedVersion_ = catalogProperty(db, "CATALOG_VERSION");
}

void bumpCatalogVersion(sqlite3* db) {
  std::string v = catalogProperty(db, "CATALOG_VERSION");
  setCatalogProperty(db, "CATALOG_VERSION", std::to_string((v.empty() ? 0 : std::stoll(v)) + 1));
}

std::chrono::milliseconds Database::defaultLockWait() const {
  std::lock_guard lock(mutex_);
  return lockWait_;
}

void Database::setDefaultLockWait(std::chrono::milliseconds wait) {
  std::lock_guard lock(mutex_);
  lockWait_ = wait;
}

std::unique_ptr<Session> Database::startSession(const UserInfo& user, LogonInfo* info) {
  if (info) *info = LogonInfo{};
  return std::unique_ptr<Session>(new Session(shared_from_this(), user));
}

std::unique_ptr<Session> Database::logon(const std::string& user, const std::string& password,
                                         LogonInfo* info) {
  refreshCatalog();
  auto cat = catalog();
  std::string name = user;
  if (name.size() > 1 && name.front() == '"' && name.back() == '"') {
    name = name.substr(1, name.size() - 2);
  } else {
    name = asciiUpperCase(name);
  }
  if (password.empty()) raiseOra(1005);
  const UserInfo* u = cat->findUser(name);
  if (!u || u->external || asciiUpperCase(u->password) != asciiUpperCase(password)) raiseOra(1017);
  if (u->status == "LOCKED" || u->status.rfind("LOCKED", 0) == 0) raiseOra(28000);
  if (u->status == "EXPIRED") raiseOra(28001);
  auto session = startSession(*u, info);
  if (u->status == "EXPIRED(GRACE)" && info) {
    info->warningCode = 28002;
    info->graceDays = u->graceDays;
    info->warning = oraMessage(28002, {std::to_string(u->graceDays)});
  }
  return session;
}

std::unique_ptr<Session> Database::logonExternal(const std::string& osUser, LogonInfo* info) {
  auto cat = catalog();
  const UserInfo* u = cat->findUser("OPS$" + asciiUpperCase(osUser));
  if (!u || !u->external) raiseOra(1017);
  if (u->status.rfind("LOCKED", 0) == 0) raiseOra(28000);
  return startSession(*u, info);
}

void Database::changePassword(const std::string& user, const std::string& oldPassword,
                              const std::string& newPassword) {
  auto cat = catalog();
  const UserInfo* u = cat->findUser(asciiUpperCase(user));
  if (!u || u->external || asciiUpperCase(u->password) != asciiUpperCase(oldPassword))
    raiseOra(1017);
  if (u->status.rfind("LOCKED", 0) == 0) raiseOra(28000);
  if (newPassword.empty()) raiseOra(988);
  // The writer gate first: a writing session may need the mutex to finish.
  locks_.acquireWriter(this, defaultLockWait());
  std::unique_lock lock(mutex_);
  try {
    execSql(admin_, "BEGIN IMMEDIATE");
    try {
      SqlStatement s(admin_,
                     "UPDATE \"SYS.USER$\" SET PASSWORD = ?1, ACCOUNT_STATUS = 'OPEN', "
                     "GRACE_DAYS = 0 WHERE NAME = ?2");
      s.bind(1, std::string_view(asciiUpperCase(newPassword))).bind(2, std::string_view(u->name));
      s.run();
      bumpCatalogVersion(admin_);
      execSql(admin_, "COMMIT");
    } catch (...) {
      execSql(admin_, "ROLLBACK");
      throw;
    }
    catalog_ = Catalog::load(admin_, ++catalogVersion_);
    storedVersion_ = catalogProperty(admin_, "CATALOG_VERSION");
  } catch (...) {
    locks_.releaseWriter(this);
    throw;
  }
  locks_.releaseWriter(this);
}

std::string Database::banner() {
  std::lock_guard lock(mutex_);
  std::string b = catalogProperty(admin_, "BANNER");
  return b.empty() ? kDefaultBanner : b;
}

void Database::setBanner(const std::string& banner) {
  // The writer gate first: a writing session may need the mutex to finish.
  locks_.acquireWriter(this, defaultLockWait());
  std::unique_lock lock(mutex_);
  try {
    execSql(admin_, "BEGIN IMMEDIATE");
    setCatalogProperty(admin_, "BANNER", banner);
    execSql(admin_, "COMMIT");
  } catch (...) {
    sqlite3_exec(admin_, "ROLLBACK", nullptr, nullptr, nullptr);
    locks_.releaseWriter(this);
    throw;
  }
  locks_.releaseWriter(this);
}

int64_t Database::nextSequenceValue(const SequenceInfo& seq) {
  std::lock_guard lock(sequenceMutex_);
  auto [it, fresh] = sequences_.try_emplace(seq.obj);
  SequenceState& st = it->second;
  if (fresh) st.next = static_cast<int64_t>(seq.lastNumber);
  int64_t value = st.next;
  bool ascending = seq.increment > 0;
  if ((ascending && static_cast<double>(value) > seq.maxValue) ||
      (!ascending && static_cast<double>(value) < seq.minValue)) {
    if (!seq.cycle) {
      raiseOra(8004, {seq.owner + "." + seq.name});
    }
    value = static_cast<int64_t>(ascending ? seq.minValue : seq.maxValue);
  }
  st.next = value + static_cast<int64_t>(seq.increment);
  st.dirty = true;
  return value;
}

void Database::flushSequences(sqlite3* db) {
  std::lock_guard lock(sequenceMutex_);
  if (sequences_.empty()) return;
  SqlStatement s(db, "UPDATE \"SYS.SEQ$\" SET LAST_NUMBER = ?1 WHERE \"OBJ#\" = ?2");
  for (auto& [obj, st] : sequences_) {
    if (!st.dirty) continue;
    s.reset();
    s.bind(1, st.next).bind(2, obj);
    s.run();
  }
}

void Database::forgetSequence(int64_t obj) {
  std::lock_guard lock(sequenceMutex_);
  sequences_.erase(obj);
}

}  // namespace vorn::server
