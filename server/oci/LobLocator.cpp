// LOB and BFILE locators; see LobLocator.h.
#include "LobLocator.h"

#include <map>
#include <set>

#include "Attributes.h"
#include "ExternalData.h"
#include "UserSession.h"
#include "engine/Database.h"
#include "engine/Session.h"
#include "value/OraError.h"

namespace vorn::server::oci {

namespace {

// Oracle's SESSION_MAX_OPEN_FILES default.
constexpr size_t kMaxOpenFiles = 10;

// The open BFILE locators of each session (OCILobFileCloseAll). Guarded by
// the environment lock of the calls that reach it.
std::map<UserSession*, std::set<LobLocator*>>& openFiles() {
  static std::map<UserSession*, std::set<LobLocator*>> files;
  return files;
}

}  // namespace

LobLocator* lobLocatorOf(const void* p) {
  Handle* h = anyHandleOf(p, OCI_DTYPE_LOB);
  if (!h) h = anyHandleOf(p, OCI_DTYPE_FILE);
  return static_cast<LobLocator*>(h);
}

TypeKind locatorKindOf(ub2 dty) {
  switch (dty) {
    case SQLT_CLOB:
      return TypeKind::Clob;
    case SQLT_BLOB:
      return TypeKind::Blob;
    default:
      return TypeKind::Bfile;
  }
}

LobLocator::~LobLocator() {
  closeFile();
}

sword LobLocator::setAttribute(void* value, ub4, ub4 attribute) {
  if (attribute != OCI_ATTR_LOBEMPTY) raiseOra(24315);
  empty = takeAttribute<ub4>(value) == 0;
  return OCI_SUCCESS;
}

void LobLocator::load(TypeKind lobKind, const ValueView& v, std::optional<LobRef> where) {
  closeFile();
  reading = {};
  writing = {};
  opened = false;
  temporary = false;
  empty = false;
  row.reset();
  data.clear();
  file = {};
  kind = TypeKind::Null;
  if (v.isNull()) return;
  kind = lobKind;
  if (kind == TypeKind::Bfile) {
    if (!decodeBfile(v.bytes, file)) raiseOra(22275);
    return;
  }
  data.assign(v.bytes.data(), v.bytes.size());
  row = std::move(where);
}

Value LobLocator::boundValue() const {
  if (!holdsLob()) {
    if (!empty) raiseOra(22275);
    return type == OCI_DTYPE_FILE ? Value() : Value::emptyClob();
  }
  switch (kind) {
    case TypeKind::Bfile:
      return Value::raw(encodeBfile(file));
    case TypeKind::Blob:
      return Value::raw(data);
    default:
      return data.empty() ? Value::emptyClob() : Value::text(data);
  }
}

void LobLocator::assignFrom(const LobLocator& other) {
  if (&other == this) return;
  closeFile();
  kind = other.kind;
  national = other.national;
  data = other.isFile() ? std::string() : other.data;
  row = other.row;
  temporary = other.temporary;
  opened = false;
  empty = other.empty;
  file = other.file;
  reading = {};
  writing = {};
}

void LobLocator::requireLob() const {
  if (!holdsLob()) raiseOra(22275);
}

ub4 LobLocator::length(const Catalog& catalog) const {
  requireLob();
  if (isFile()) {
    if (fileSession) return static_cast<ub4>(data.size());
    return static_cast<ub4>(readBfile(catalog, file, "GETLENGTH").size());
  }
  return static_cast<ub4>(data.size());
}

const std::string& LobLocator::readable() const {
  requireLob();
  if (isFile() && !fileSession) raiseOra(22289, {"FILEREAD"});
  return data;
}

void LobLocator::checkWritable(UserSession& session) const {
  requireLob();
  if (isFile()) raiseOra(22275);
  // A LOB read without its row (through a view, computed by an expression)
  // cannot be written back: refused rather than changed in the locator
  // alone.
  if (!row && !temporary) raiseOra(22920);
  if (row && !session.engine->database().locks().holdsRow(session.engine.get(), row->source.object,
                                                          row->rowid)) {
    raiseOra(22920);
  }
}

void LobLocator::store(UserSession& session, std::string value) {
  checkWritable(session);
  if (row) {
    Value v = kind == TypeKind::Blob ? Value::raw(value)
                                     : (value.empty() ? Value::emptyClob() : Value::text(value));
    writeLob(*session.engine, *row, v);
  }
  data = std::move(value);
}

void LobLocator::setFileName(BfileName name) {
  closeFile();
  kind = TypeKind::Bfile;
  file = std::move(name);
  data.clear();
  row.reset();
}

void LobLocator::openFile(UserSession& session) {
  requireLob();
  if (!isFile()) raiseOra(22275);
  if (fileSession) raiseOra(22288, {"FILEOPEN", "file is already open"});
  auto& files = openFiles()[&session];
  if (files.size() >= kMaxOpenFiles) raiseOra(22290);
  data = readBfile(*session.engine->catalog(), file, "FILEOPEN");
  fileSession = &session;
  files.insert(this);
}

void LobLocator::closeFile() {
  if (!fileSession) return;
  auto& files = openFiles();
  auto it = files.find(fileSession);
  if (it != files.end()) {
    it->second.erase(this);
    if (it->second.empty()) files.erase(it);
  }
  fileSession = nullptr;
  data.clear();
  opened = false;
}

void LobLocator::closeAllFiles(UserSession& session) {
  auto& files = openFiles();
  auto it = files.find(&session);
  if (it == files.end()) return;
  std::set<LobLocator*> open = std::move(it->second);
  files.erase(it);
  for (LobLocator* l : open) {
    l->fileSession = nullptr;
    l->data.clear();
    l->opened = false;
  }
}

}  // namespace vorn::server::oci
