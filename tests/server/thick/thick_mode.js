// A third-party program against the embedded server: Oracle's Node.js
// driver in thick mode, loading the demo home's client library
// (lib/libclntsh.so) in place of an Oracle client. Each step prints what
// it saw; the test compares the output with thick_mode.expected.
//
//   node thick_mode.js <home>/lib <connect string>
'use strict';

const oracledb = require('oracledb');

const [libDir, connectString] = process.argv.slice(2);
oracledb.initOracleClient({ libDir });

function show(label, value) {
  console.log(label + ': ' + JSON.stringify(value));
}

async function step(label, body) {
  try {
    await body();
  } catch (e) {
    console.log(label + ' failed: ' + e.message.split('\n')[0]);
  }
}

async function main() {
  const conn = await oracledb.getConnection({ user: 'scott', password: 'tiger', connectString });
  show('client major', oracledb.oracleClientVersion >= 1100000000);

  await step('select', async () => {
    const r = await conn.execute(
      `SELECT empno, ename, job, mgr, hiredate, sal, comm, deptno
         FROM emp WHERE deptno = :dept AND sal > :minsal ORDER BY empno`,
      { dept: 10, minsal: 1000 });
    show('columns', r.metaData.map((m) => [m.name, m.dbTypeName, m.nullable]));
    for (const row of r.rows) {
      show('row', row.map((v) => (v instanceof Date ? v.toISOString() : v)));
    }
  });

  await step('positional', async () => {
    const r = await conn.execute(
      'SELECT ename, sal FROM emp WHERE empno = :1 OR empno = :2 ORDER BY empno', [7369, 7499],
      { outFormat: oracledb.OUT_FORMAT_OBJECT });
    show('objects', r.rows);
  });

  await step('date bind', async () => {
    const r = await conn.execute(
      'SELECT ename, hiredate FROM emp WHERE hiredate > :since ORDER BY hiredate',
      { since: new Date(Date.UTC(1982, 0, 1)) });
    show('hired since 1982', r.rows.map((x) => [x[0], x[1].toISOString()]));
  });

  await step('fetchArraySize', async () => {
    const r = await conn.execute('SELECT empno FROM emp ORDER BY empno', [],
                                 { fetchArraySize: 3, maxRows: 5 });
    show('first five', r.rows.map((x) => x[0]));
  });

  await step('result set', async () => {
    const r = await conn.execute('SELECT ename FROM emp ORDER BY ename', [],
                                 { resultSet: true, fetchArraySize: 4 });
    const names = [];
    let batch;
    while ((batch = await r.resultSet.getRows(5)).length > 0) {
      names.push(batch.map((x) => x[0]).join(','));
    }
    await r.resultSet.close();
    show('batches', names);
  });

  await step('executeMany', async () => {
    await conn.execute('CREATE TABLE thick_items (id NUMBER(4) PRIMARY KEY, label VARCHAR2(10))');
    const rows = [[1, 'one'], [2, 'two'], [1, 'again'], [3, 'three'], [4, 'much too long a label']];
    const r = await conn.executeMany('INSERT INTO thick_items VALUES (:1, :2)', rows,
                                     { batchErrors: true, dmlRowCounts: true });
    show('rowsAffected', r.rowsAffected);
    show('dmlRowCounts', r.dmlRowCounts);
    show('batchErrors', r.batchErrors.map((e) => [e.offset, e.errorNum]));
    const c = await conn.execute('SELECT id, label FROM thick_items ORDER BY id');
    show('items', c.rows);
  });

  await step('rollback', async () => {
    await conn.rollback();
    const c = await conn.execute('SELECT COUNT(*) FROM thick_items');
    show('after rollback', c.rows[0][0]);
  });

  await step('lobs', async () => {
    await conn.execute('CREATE TABLE thick_lobs (id NUMBER, c CLOB, b BLOB)');
    const text = 'Vorn '.repeat(4000);
    const bytes = Buffer.alloc(50000, 7);
    bytes[0] = 1;
    await conn.execute('INSERT INTO thick_lobs VALUES (:id, :c, :b)',
                       { id: 1, c: text, b: bytes });
    const r = await conn.execute('SELECT c, b FROM thick_lobs WHERE id = 1', [],
                                 { fetchInfo: { C: { type: oracledb.STRING },
                                                B: { type: oracledb.BUFFER } } });
    show('clob', [r.rows[0][0].length, r.rows[0][0] === text]);
    show('blob', [r.rows[0][1].length, r.rows[0][1].equals(bytes)]);
    const l = await conn.execute('SELECT c FROM thick_lobs WHERE id = 1');
    const lob = l.rows[0][0];
    show('clob locator', [lob.type === oracledb.CLOB, (await lob.getData()).length]);
    await conn.commit();
  });

  await step('plsql', async () => {
    await conn.execute(`
      CREATE OR REPLACE PROCEDURE thick_dept (p_deptno IN NUMBER, p_name OUT VARCHAR2,
                                              p_count OUT NUMBER,
                                              p_emps OUT SYS_REFCURSOR) IS
      BEGIN
        SELECT dname INTO p_name FROM dept WHERE deptno = p_deptno;
        SELECT COUNT(*) INTO p_count FROM emp WHERE deptno = p_deptno;
        OPEN p_emps FOR SELECT ename, sal FROM emp WHERE deptno = p_deptno ORDER BY ename;
      END;`);
    // The procedure fills the OUT binds and opens its cursor parameter,
    // which comes back to the caller as a result set.
    const r = await conn.execute(`
      BEGIN
        thick_dept(:d, :n, :c, :e);
      END;`, {
      d: 20,
      n: { dir: oracledb.BIND_OUT, type: oracledb.STRING, maxSize: 20 },
      c: { dir: oracledb.BIND_OUT, type: oracledb.NUMBER },
      e: { dir: oracledb.BIND_OUT, type: oracledb.CURSOR },
    });
    show('out', [r.outBinds.n, r.outBinds.c]);
    const rows = await r.outBinds.e.getRows(100);
    await r.outBinds.e.close();
    show('ref cursor', rows);
    const f = await conn.execute('BEGIN :x := :y * 2; :s := UPPER(:s); END;', {
      x: { dir: oracledb.BIND_OUT, type: oracledb.NUMBER },
      y: 21,
      s: { dir: oracledb.BIND_INOUT, val: 'in out', maxSize: 10 },
    });
    show('in out', [f.outBinds.x, f.outBinds.s]);
  });

  await step('commit', async () => {
    await conn.execute('UPDATE emp SET comm = 1 WHERE empno = 7369');
    await conn.commit();
    await conn.execute('UPDATE emp SET comm = 2 WHERE empno = 7369');
    await conn.rollback();
    const r = await conn.execute('SELECT comm FROM emp WHERE empno = 7369');
    show('comm', r.rows[0][0]);
  });

  await step('error', async () => {
    await conn.execute('SELECT nothing FROM emp');
  });

  await conn.close();
  console.log('closed');

  await step('pool', async () => {
    const pool = await oracledb.createPool({ user: 'scott', password: 'tiger', connectString,
                                             poolMin: 1, poolMax: 2, poolIncrement: 1 });
    const pc = await pool.getConnection();
    const r = await pc.execute('SELECT COUNT(*) FROM dept');
    show('pooled count', r.rows[0][0]);
    await pc.close();
    await pool.close(0);
    console.log('pool closed');
  });
}

main().catch((e) => {
  console.log('fatal: ' + e.message);
  process.exitCode = 1;
});
