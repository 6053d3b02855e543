// The client libraries built from the server (server/oci/ClientVariants.cmake)
// export exactly their call sets: the names are read from the dynamic symbol
// table of each built file, not assumed. And each test home works as a home:
// its library, loaded from a copy of the home, finds the home's databases,
// and its release 7 database answers with a release 7 banner, from which a
// version 8 logon falls back to the version 7 calls as a client does.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "oci.h"
#include "oci_export_names.h"

namespace {

namespace fs = std::filesystem;
using vorn::server::test::kVersion7;
using vorn::server::test::kVersion8Required;
using vorn::server::test::Names;

// The defined global symbols of a 64-bit ELF shared object: what its
// dynamic symbol table offers to dlsym.
Names exportedNames(const fs::path& file) {
  // Read in one piece: a sanitizer build's library is tens of megabytes,
  // which a character-wise read takes minutes over.
  std::ifstream in(file, std::ios::binary);
  std::error_code sizeError;
  const auto size = fs::file_size(file, sizeError);
  std::vector<char> bytes(sizeError ? 0 : size);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  Names names;
  if (bytes.size() < sizeof(Elf64_Ehdr)) {
    ADD_FAILURE() << file << " is no ELF file";
    return names;
  }
  Elf64_Ehdr header;
  std::memcpy(&header, bytes.data(), sizeof header);
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
    ADD_FAILURE() << file << " is no 64-bit ELF file";
    return names;
  }
  auto section = [&](size_t index) {
    Elf64_Shdr s;
    std::memcpy(&s, bytes.data() + header.e_shoff + index * header.e_shentsize, sizeof s);
    return s;
  };
  for (size_t i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr symbols = section(i);
    if (symbols.sh_type != SHT_DYNSYM) continue;
    Elf64_Shdr strings = section(symbols.sh_link);
    for (size_t offset = 0; offset + sizeof(Elf64_Sym) <= symbols.sh_size;
         offset += sizeof(Elf64_Sym)) {
      Elf64_Sym sym;
      std::memcpy(&sym, bytes.data() + symbols.sh_offset + offset, sizeof sym);
      unsigned bind = ELF64_ST_BIND(sym.st_info);
      if (sym.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
      names.insert(bytes.data() + strings.sh_offset + sym.st_name);
    }
  }
  return names;
}

Names unite(Names a, const Names& b) {
  a.insert(b.begin(), b.end());
  return a;
}

Names without(Names a, const Names& b) {
  for (const std::string& name : b)
    a.erase(name);
  return a;
}

fs::path testHome(const std::string& variant) {
  return fs::path(VORN_TEST_HOMES) / variant;
}

// The OCI names of the version 8.1 test client: the reference the other
// variants are checked against.
Names fullVersion8Names() {
  Names names;
  for (const std::string& name : exportedNames(testHome("v81") / "bin" / "oci.dll")) {
    if (name.rfind("OCI", 0) == 0) names.insert(name);
  }
  return names;
}

TEST(ClientVariants, TheVersion81ClientExportsBothCallSetsAndNothingElse) {
  Names exported = exportedNames(testHome("v81") / "bin" / "oci.dll");
  for (const std::string& name : unite(kVersion7, kVersion8Required))
    EXPECT_TRUE(exported.count(name)) << name;
  EXPECT_TRUE(exported.count("OCIDirPathPrepare"));
  for (const std::string& name : exported) {
    EXPECT_TRUE(kVersion7.count(name) || name.rfind("OCI", 0) == 0) << name;
  }
  EXPECT_FALSE(exported.count("sqlite3_open_v2"));
}

TEST(ClientVariants, TheDemoHomeLibraryExportsWhatTheVersion81ClientDoes) {
  EXPECT_EQ(exportedNames(testHome("v81") / "bin" / "oci.dll"), exportedNames(VORN_OCI_LIBRARY));
}

TEST(ClientVariants, EachVariantExportsExactlyItsSet) {
  const Names version8 = fullVersion8Names();
  ASSERT_TRUE(version8.count("OCIDirPathPrepare"));
  struct Variant {
    const char* name;
    Names expected;
  } variants[] = {
      {"v81", unite(kVersion7, version8)},
      {"v80", without(unite(kVersion7, version8), {"OCIDirPathPrepare"})},
      {"v7", kVersion7},
      {"v7-no-olog", without(kVersion7, {"olog"})},
      {"v7-no-opinit", without(kVersion7, {"opinit"})},
      {"no-oexfet", without(unite(kVersion7, version8), {"oexfet"})},
      {"no-OCILobRead", without(unite(kVersion7, version8), {"OCILobRead"})},
  };
  for (const Variant& v : variants) {
    Names exported = exportedNames(testHome(v.name) / "bin" / "oci.dll");
    EXPECT_EQ(v.expected, exported) << v.name;
  }
}

// A copy of a test home in a folder of its own, removed afterwards, so that
// what a test does to the databases stays out of the build's fixtures.
class HomeCopy {
 public:
  explicit HomeCopy(const std::string& variant)
      : path_(fs::temp_directory_path() /
              ("vorn-variant-" + variant + "-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::copy(testHome(variant), path_, fs::copy_options::recursive);
    library_ = ::dlopen((path_ / "bin" / "oci.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(nullptr, library_) << ::dlerror();
  }
  ~HomeCopy() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  HomeCopy(const HomeCopy&) = delete;
  HomeCopy& operator=(const HomeCopy&) = delete;

  template <class F>
  F* call(const char* name) const {
    return library_ ? reinterpret_cast<F*>(::dlsym(library_, name)) : nullptr;
  }

 private:
  fs::path path_;
  void* library_ = nullptr;
};

// The first column of the first row of `sql` on a logon data area.
std::string firstValue7(const HomeCopy& home, Lda_Def* lda, const std::string& sql) {
  auto* oopen = home.call<decltype(::oopen)>("oopen");
  auto* oparse = home.call<decltype(::oparse)>("oparse");
  auto* odefin = home.call<decltype(::odefin)>("odefin");
  auto* oexfet = home.call<decltype(::oexfet)>("oexfet");
  auto* oclose = home.call<decltype(::oclose)>("oclose");
  Cda_Def cda{};
  char value[100] = "";
  std::string text = sql;
  oopen(&cda, lda, nullptr, -1, -1, nullptr, -1);
  oparse(&cda, reinterpret_cast<OraText*>(text.data()), -1, 1, 2);
  odefin(&cda, 1, reinterpret_cast<ub1*>(value), sizeof value, SQLT_STR, -1, nullptr, nullptr, -1,
         -1, nullptr, nullptr);
  oexfet(&cda, 1, 0, 0);
  EXPECT_EQ(0, cda.rc) << sql;
  oclose(&cda);
  return value;
}

TEST(TestHomes, AVersion7ClientLogsOnToItsHomesDatabaseWithOlog) {
  HomeCopy home("v7");
  EXPECT_EQ(nullptr, home.call<void>("OCIInitialize"));
  auto* opinit = home.call<decltype(::opinit)>("opinit");
  auto* olog = home.call<decltype(::olog)>("olog");
  auto* ologof = home.call<decltype(::ologof)>("ologof");
  ASSERT_TRUE(opinit && olog && ologof);
  EXPECT_EQ(0, opinit(OCI_EV_DEF));
  alignas(8) Lda_Def lda{};
  alignas(8) ub1 hda[HDA_SIZE] = {};
  std::string text = "scott/tiger@DEMO";
  olog(&lda, hda, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1, 0);
  ASSERT_EQ(0, lda.rc);
  EXPECT_EQ("SCOTT", firstValue7(home, &lda, "select user from dual"));
  EXPECT_EQ("14", firstValue7(home, &lda, "select count(*) from emp"));
  EXPECT_EQ(0, ologof(&lda));
}

TEST(TestHomes, AVersion7ClientWithoutOlogLogsOnWithOrlon) {
  HomeCopy home("v7-no-olog");
  EXPECT_EQ(nullptr, home.call<void>("olog"));
  auto* orlon = home.call<decltype(::orlon)>("orlon");
  auto* ologof = home.call<decltype(::ologof)>("ologof");
  ASSERT_TRUE(orlon && ologof);
  alignas(8) Lda_Def lda{};
  alignas(8) ub1 hda[HDA_SIZE] = {};
  std::string user = "man/man@VORN";
  orlon(&lda, hda, reinterpret_cast<OraText*>(user.data()), -1, nullptr, -1, 0);
  ASSERT_EQ(0, lda.rc);
  EXPECT_EQ("MAN", firstValue7(home, &lda, "select user from dual"));
  EXPECT_EQ(0, ologof(&lda));
}

TEST(TestHomes, TheReleaseSevenDatabaseMakesAVersion8LogonFallBackToALogonDataArea) {
  HomeCopy home("v81");
  auto* init = home.call<decltype(::OCIInitialize)>("OCIInitialize");
  auto* envInit = home.call<decltype(::OCIEnvInit)>("OCIEnvInit");
  auto* alloc = home.call<decltype(::OCIHandleAlloc)>("OCIHandleAlloc");
  auto* handleFree = home.call<decltype(::OCIHandleFree)>("OCIHandleFree");
  auto* logon = home.call<decltype(::OCILogon)>("OCILogon");
  auto* logoff = home.call<decltype(::OCILogoff)>("OCILogoff");
  auto* version = home.call<decltype(::OCIServerVersion)>("OCIServerVersion");
  auto* toLda = home.call<decltype(::OCISvcCtxToLda)>("OCISvcCtxToLda");
  auto* toSvc = home.call<decltype(::OCILdaToSvcCtx)>("OCILdaToSvcCtx");
  ASSERT_TRUE(init && envInit && alloc && handleFree && logon && logoff && version && toLda &&
              toSvc);
  init(OCI_THREADED | OCI_OBJECT, nullptr, nullptr, nullptr, nullptr);
  OCIEnv* env = nullptr;
  ASSERT_EQ(OCI_SUCCESS, envInit(&env, OCI_DEFAULT, 0, nullptr));
  OCIError* err = nullptr;
  alloc(env, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);

  auto bannerOf = [&](const std::string& database, OCISvcCtx** svc) {
    EXPECT_EQ(OCI_SUCCESS, logon(env, err, svc, reinterpret_cast<const OraText*>("scott"), 5,
                                 reinterpret_cast<const OraText*>("tiger"), 5,
                                 reinterpret_cast<const OraText*>(database.c_str()),
                                 static_cast<ub4>(database.size())));
    char text[501] = "";
    version(*svc, err, reinterpret_cast<OraText*>(text), sizeof text, OCI_HTYPE_SVCCTX);
    return std::string(text);
  };
  OCISvcCtx* demo = nullptr;
  EXPECT_EQ("Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production", bannerOf("DEMO", &demo));
  logoff(demo, err);

  OCISvcCtx* svc = nullptr;
  std::string banner = bannerOf("ORA7", &svc);
  EXPECT_EQ("Oracle7 Server Release 7.3.4.0.0 - Production", banner);
  std::string upper = banner;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  EXPECT_EQ(std::string::npos, upper.find("ORACLE8"));

  alignas(8) Lda_Def lda{};
  ASSERT_EQ(OCI_SUCCESS, toLda(svc, err, &lda));
  EXPECT_EQ("SCOTT", firstValue7(home, &lda, "select user from dual"));
  OCISvcCtx* back = nullptr;
  ASSERT_EQ(OCI_SUCCESS, toSvc(&back, err, &lda));
  EXPECT_EQ(svc, back);
  EXPECT_EQ(OCI_SUCCESS, logoff(back, err));
  handleFree(env, OCI_HTYPE_ENV);
}

}  // namespace
