// The library's copy of the call interface's constants (OciConstants.h)
// against the embedded server's oci.h, name by name. The header defines
// the same names as macros, so the library's values are taken first and
// oci.h is included only after them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "vorn/client/OciConstants.h"

// Every constant of OciConstants.h that oci.h also defines.
#define VORN_SHARED_OCI_CONSTANTS(X)                                                                               \
  X(OCI_SUCCESS)                                                                                                   \
  X(OCI_SUCCESS_WITH_INFO)                                                                                         \
  X(OCI_NEED_DATA)                                                                                                 \
  X(OCI_NO_DATA)                                                                                                   \
  X(OCI_ERROR)                                                                                                     \
  X(OCI_INVALID_HANDLE) X(OCI_STILL_EXECUTING) X(OCI_CONTINUE) X(OCI_DEFAULT) X(OCI_HTYPE_ENV) X(                  \
      OCI_HTYPE_ERROR) X(OCI_HTYPE_SVCCTX) X(OCI_HTYPE_STMT) X(OCI_HTYPE_BIND) X(OCI_HTYPE_DEFINE)                 \
      X(OCI_HTYPE_DESCRIBE) X(OCI_HTYPE_SERVER) X(OCI_HTYPE_SESSION) X(OCI_HTYPE_TRANS) X(                         \
          OCI_DTYPE_LOB) X(OCI_DTYPE_PARAM) X(OCI_DTYPE_ROWID) X(OCI_DTYPE_FILE) X(OCI_ATTR_SERVER)                \
          X(OCI_ATTR_SESSION) X(OCI_ATTR_USERNAME) X(OCI_ATTR_PASSWORD) X(OCI_CRED_RDBMS) X(                       \
              OCI_CRED_EXT) X(OCI_THREADED) X(OCI_OBJECT) X(OCI_ENV_NO_UCB) X(OCI_ENV_NO_MUTEX)                    \
              X(OCI_AUTH) X(OCI_ERROR_MAXMSG_SIZE) X(OCI_NTV_SYNTAX) X(OCI_DESCRIBE_ONLY) X(                       \
                  OCI_COMMIT_ON_SUCCESS) X(OCI_DYNAMIC_FETCH) X(OCI_FETCH_NEXT) X(OCI_ONE_PIECE)                   \
                  X(OCI_FIRST_PIECE) X(OCI_NEXT_PIECE) X(OCI_LAST_PIECE) X(OCI_ATTR_ROW_COUNT) X(                  \
                      OCI_ATTR_SQLFNCODE) X(OCI_ATTR_PREFETCH_ROWS) X(OCI_ATTR_PREFETCH_MEMORY)                    \
                      X(OCI_ATTR_PARAM_COUNT) X(OCI_ATTR_ROWID) X(OCI_ATTR_STMT_TYPE) X(                           \
                          OCI_ATTR_PARAM) X(OCI_ATTR_PARSE_ERROR_OFFSET) X(OCI_ATTR_DATA_SIZE)                     \
                          X(OCI_ATTR_DATA_TYPE) X(OCI_ATTR_NAME) X(OCI_ATTR_PRECISION) X(                          \
                              OCI_ATTR_SCALE) X(OCI_ATTR_IS_NULL) X(OCI_ATTR_TYPE_NAME)                            \
                              X(OCI_ATTR_SCHEMA_NAME) X(OCI_ATTR_REF_TDO) X(OCI_ATTR_TYPECODE) X(                  \
                                  OCI_STMT_SELECT) X(OCI_STMT_UPDATE) X(OCI_STMT_DELETE) X(OCI_STMT_INSERT)        \
                                  X(OCI_STMT_CREATE) X(OCI_STMT_DROP) X(OCI_STMT_ALTER) X(                         \
                                      OCI_STMT_BEGIN) X(OCI_STMT_DECLARE) X(OCI_OTYPE_REF)                         \
                                      X(OCI_PTYPE_TYPE) X(OCI_DURATION_SESSION) X(OCI_PIN_ANY) X(                  \
                                          OCI_LOCK_NONE) X(OCI_TYPECODE_REF) X(SQLT_CHR) X(SQLT_NUM)               \
                                          X(SQLT_INT) X(SQLT_FLT) X(SQLT_STR) X(SQLT_LNG) X(                       \
                                              SQLT_RID) X(SQLT_DAT) X(SQLT_BIN) X(SQLT_LBI) X(SQLT_AFC)            \
                                              X(SQLT_AVC) X(SQLT_CUR) X(SQLT_RDD) X(SQLT_LAB) X(                   \
                                                  SQLT_OSL) X(SQLT_NTY) X(SQLT_REF) X(SQLT_CLOB)                   \
                                                  X(SQLT_BLOB) X(SQLT_BFILEE) X(SQLT_RSET) X(                      \
                                                      OCI_EV_DEF) X(OCI_EV_TSF) X(OCI_LM_DEF)                      \
                                                      X(OCI_FILE_READONLY) X(SQLCS_IMPLICIT) X(                    \
                                                          OCI_ATTR_COLLECTION_TYPECODE)                            \
                                                          X(OCI_ATTR_COLLECTION_ELEMENT) X(                        \
                                                              OCI_ATTR_NUM_TYPE_ATTRS) X(OCI_ATTR_LIST_TYPE_ATTRS) \
                                                              X(OCI_OTYPE_NAME) X(OCI_OTYPE_PTR) X(                \
                                                                  OCI_TYPEGET_HEADER) X(OCI_OBJECTFREE_FORCE)      \
                                                                  X(OCI_IND_NOTNULL) X(OCI_IND_NULL) X(            \
                                                                      OCI_NUMBER_SIGNED) X(OCI_TYPECODE_VARCHAR)   \
                                                                      X(OCI_TYPECODE_NUMBER) X(                    \
                                                                          OCI_TYPECODE_VARCHAR2)                   \
                                                                          X(OCI_TYPECODE_DATE) X(                  \
                                                                              OCI_TYPECODE_RAW)                    \
                                                                              X(OCI_TYPECODE_CHAR) X(              \
                                                                                  OCI_TYPECODE_OBJECT)             \
                                                                                  X(OCI_TYPECODE_CLOB) X(          \
                                                                                      OCI_TYPECODE_BLOB)           \
                                                                                      X(OCI_TYPECODE_BFILE)        \
                                                                                          X(OCI_TYPECODE_NAMEDCOLLECTION)

namespace {

using Table = std::vector<std::pair<std::string, long long>>;

#define VORN_LIBRARY_VALUE(name) {#name, static_cast<long long>(vorn::client::name)},
const Table kLibraryValues{VORN_SHARED_OCI_CONSTANTS(VORN_LIBRARY_VALUE)};
#undef VORN_LIBRARY_VALUE

}  // namespace

#include "oci.h"

namespace {

#define VORN_HEADER_VALUE(name) {#name, static_cast<long long>(name)},
const Table kHeaderValues{VORN_SHARED_OCI_CONSTANTS(VORN_HEADER_VALUE)};
#undef VORN_HEADER_VALUE

TEST(OciConstantsTest, EveryConstantHasTheValueOfTheServersHeader) {
  ASSERT_EQ(kLibraryValues.size(), kHeaderValues.size());
  for (size_t i = 0; i < kLibraryValues.size(); ++i) {
    EXPECT_EQ(kHeaderValues[i].second, kLibraryValues[i].second) << kLibraryValues[i].first;
  }
}

}  // namespace
