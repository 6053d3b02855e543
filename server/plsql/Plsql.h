// The embedded server's PL/SQL layer. installPlsql() hooks it into the
// engine: sessions then run anonymous blocks (BEGIN / DECLARE statements)
// and CREATE [OR REPLACE] PROCEDURE / FUNCTION, and SQL statements call
// stored functions and functions of built-in packages.
//
// For the call interfaces: a block is an ordinary Statement. Scalar binds
// go in with Statement::bind and come back with Statement::boundValue; a
// PL/SQL table is a HostTable bound with Statement::bindTable and a cursor
// variable a HostCursor bound with Statement::bindCursor (engine/HostBinds.h).
// Errors are OraErrors: a block's unhandled exception carries Oracle's
// "ORA-06512: at line n" lines, a compile error is ORA-06550 with the
// parse error offset of the offending token; a block that fails leaves
// nothing of what it changed (the work since it started is rolled back).
// Built-in packages are registered with Builtins.h.
#pragma once

namespace vorn::server::plsql {

// Sets the engine's block handler, function hook and connection hook and
// registers DBMS_OUTPUT. Call once, before sessions are opened.
void installPlsql();

}  // namespace vorn::server::plsql
