/*
 * A plain C client of the call interface: compiled as C99 against oci.h,
 * it loads oci.dll with dlopen, resolves its calls with dlsym, logs on,
 * runs a query with a bind, fetches it in arrays of two rows and logs off.
 * Prints "N passed, M failed" and exits non-zero on any failure.
 */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "oci.h"

static struct {
  sword (*OCIInitialize)(ub4, dvoid*, dvoid* (*)(dvoid*, size_t),
                         dvoid* (*)(dvoid*, dvoid*, size_t), void (*)(dvoid*, dvoid*));
  sword (*OCIEnvInit)(OCIEnv**, ub4, size_t, dvoid**);
  sword (*OCIHandleAlloc)(CONST dvoid*, dvoid**, CONST ub4, CONST size_t, dvoid**);
  sword (*OCIHandleFree)(dvoid*, CONST ub4);
  sword (*OCILogon)(OCIEnv*, OCIError*, OCISvcCtx**, CONST OraText*, ub4, CONST OraText*, ub4,
                    CONST OraText*, ub4);
  sword (*OCILogoff)(OCISvcCtx*, OCIError*);
  sword (*OCIStmtPrepare)(OCIStmt*, OCIError*, CONST OraText*, ub4, ub4, ub4);
  sword (*OCIBindByName)(OCIStmt*, OCIBind**, OCIError*, CONST OraText*, sb4, dvoid*, sb4, ub2,
                         dvoid*, ub2*, ub2*, ub4, ub4*, ub4);
  sword (*OCIDefineByPos)(OCIStmt*, OCIDefine**, OCIError*, ub4, dvoid*, sb4, ub2, dvoid*, ub2*,
                          ub2*, ub4);
  sword (*OCIStmtExecute)(OCISvcCtx*, OCIStmt*, OCIError*, ub4, ub4, CONST OCISnapshot*,
                          OCISnapshot*, ub4);
  sword (*OCIStmtFetch)(OCIStmt*, OCIError*, ub4, ub2, ub4);
  sword (*OCIAttrGet)(CONST dvoid*, ub4, dvoid*, ub4*, ub4, OCIError*);
  sword (*OCIErrorGet)(dvoid*, ub4, OraText*, sb4*, OraText*, ub4, ub4);
} oci;

static int passed = 0, failed = 0;

static void check(int ok, const char* what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    fprintf(stderr, "FAILED: %s\n", what);
  }
}

static void* resolve(void* library, const char* name) {
  void* p = dlsym(library, name);
  if (!p) {
    fprintf(stderr, "the library does not export %s\n", name);
    exit(2);
  }
  return p;
}

#define RESOLVE(name) (*(void**)(&oci.name) = resolve(library, #name))

int main(void) {
  char folder[] = "/tmp/vorn-oci-c-XXXXXX";
  char database[256], command[1024], message[1024];
  void* library;
  OCIEnv* env = NULL;
  OCIError* err = NULL;
  OCISvcCtx* svc = NULL;
  OCIStmt* stmt = NULL;
  OCIBind* bind = NULL;
  OCIDefine* define = NULL;
  const char* sql =
      "select empno, ename, hiredate, comm from emp where deptno = :dept order by empno";
  int dept = 10;
  int empno[2];
  char ename[2][11];
  ub1 hiredate[2][7];
  double comm[2];
  sb2 commInd[2];
  int seen[3] = {0, 0, 0};
  char names[3][11];
  ub1 kingHired[7] = {0};
  int commNulls = 0;
  ub4 rows = 0, before = 0, total = 0;
  sword status;
  sb4 code = 0;

  if (!mkdtemp(folder)) return 2;
  snprintf(database, sizeof database, "%s/c.db", folder);
  snprintf(command, sizeof command, "\"%s\" --create --seed demo \"%s\" < /dev/null > /dev/null",
           VORN_VORNSQL, database);
  if (system(command) != 0) return 2;

  library = dlopen(VORN_OCI_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  RESOLVE(OCIInitialize);
  RESOLVE(OCIEnvInit);
  RESOLVE(OCIHandleAlloc);
  RESOLVE(OCIHandleFree);
  RESOLVE(OCILogon);
  RESOLVE(OCILogoff);
  RESOLVE(OCIStmtPrepare);
  RESOLVE(OCIBindByName);
  RESOLVE(OCIDefineByPos);
  RESOLVE(OCIStmtExecute);
  RESOLVE(OCIStmtFetch);
  RESOLVE(OCIAttrGet);
  RESOLVE(OCIErrorGet);

  check(oci.OCIInitialize(OCI_THREADED | OCI_OBJECT, NULL, NULL, NULL, NULL) == OCI_SUCCESS,
        "OCIInitialize");
  check(oci.OCIEnvInit(&env, OCI_DEFAULT, 0, NULL) == OCI_SUCCESS, "OCIEnvInit");
  check(oci.OCIHandleAlloc(env, (dvoid**)&err, OCI_HTYPE_ERROR, 0, NULL) == OCI_SUCCESS,
        "error handle");
  status = oci.OCILogon(env, err, &svc, (CONST OraText*)"scott", 5, (CONST OraText*)"tiger", 5,
                        (CONST OraText*)database, (ub4)strlen(database));
  if (status != OCI_SUCCESS) {
    oci.OCIErrorGet(err, 1, NULL, &code, (OraText*)message, sizeof message, OCI_HTYPE_ERROR);
    fprintf(stderr, "logon: %s", message);
  }
  check(status == OCI_SUCCESS, "OCILogon");

  oci.OCIHandleAlloc(env, (dvoid**)&stmt, OCI_HTYPE_STMT, 0, NULL);
  check(oci.OCIStmtPrepare(stmt, err, (CONST OraText*)sql, (ub4)strlen(sql), OCI_NTV_SYNTAX,
                           OCI_DEFAULT) == OCI_SUCCESS,
        "OCIStmtPrepare");
  check(oci.OCIBindByName(stmt, &bind, err, (CONST OraText*)":dept", -1, &dept, sizeof dept,
                          SQLT_INT, NULL, NULL, NULL, 0, NULL, OCI_DEFAULT) == OCI_SUCCESS,
        "OCIBindByName");
  check(oci.OCIStmtExecute(svc, stmt, err, 0, 0, NULL, NULL, OCI_DEFAULT) == OCI_SUCCESS,
        "OCIStmtExecute");
  define = NULL;
  oci.OCIDefineByPos(stmt, &define, err, 1, empno, sizeof empno[0], SQLT_INT, NULL, NULL, NULL,
                     OCI_DEFAULT);
  define = NULL;
  oci.OCIDefineByPos(stmt, &define, err, 2, ename, sizeof ename[0], SQLT_STR, NULL, NULL, NULL,
                     OCI_DEFAULT);
  define = NULL;
  oci.OCIDefineByPos(stmt, &define, err, 3, hiredate, sizeof hiredate[0], SQLT_DAT, NULL, NULL,
                     NULL, OCI_DEFAULT);
  define = NULL;
  oci.OCIDefineByPos(stmt, &define, err, 4, comm, sizeof comm[0], SQLT_FLT, commInd, NULL, NULL,
                     OCI_DEFAULT);
  do {
    ub4 i;
    status = oci.OCIStmtFetch(stmt, err, 2, OCI_FETCH_NEXT, OCI_DEFAULT);
    oci.OCIAttrGet(stmt, OCI_HTYPE_STMT, &rows, NULL, OCI_ATTR_ROW_COUNT, err);
    for (i = 0; i < rows - before && total < 3; ++i, ++total) {
      seen[total] = empno[i];
      strcpy(names[total], ename[i]);
      if (empno[i] == 7839) memcpy(kingHired, hiredate[i], 7);
      if (commInd[i] == -1) ++commNulls;
    }
    before = rows;
  } while (status == OCI_SUCCESS);
  check(status == OCI_NO_DATA, "the fetch ends with OCI_NO_DATA");
  check(rows == 3, "three employees in department 10");
  check(seen[0] == 7782 && seen[1] == 7839 && seen[2] == 7934, "employee numbers in order");
  check(strcmp(names[0], "CLARK") == 0 && strcmp(names[2], "MILLER") == 0, "employee names");
  check(kingHired[0] == 119 && kingHired[1] == 181 && kingHired[2] == 11 && kingHired[3] == 17 &&
            kingHired[4] == 1,
        "KING's hire date as 7 bytes");
  check(commNulls == 3, "NULL commissions come with indicator -1");

  oci.OCIHandleFree(stmt, OCI_HTYPE_STMT);
  check(oci.OCILogoff(svc, err) == OCI_SUCCESS, "OCILogoff");
  check(oci.OCIHandleFree(env, OCI_HTYPE_ENV) == OCI_SUCCESS, "freeing the environment");

  snprintf(command, sizeof command, "rm -rf \"%s\"", folder);
  if (system(command) != 0) fprintf(stderr, "could not remove %s\n", folder);
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
