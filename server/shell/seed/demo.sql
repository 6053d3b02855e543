-- The demo schemas of the embedded server: SCOTT/TIGER with the classic
-- EMP, DEPT, BONUS and SALGRADE tables, and MAN/MAN with the PERSONS and
-- DOGS of the object query language examples. Run by "vornsql --seed demo"
-- as SYSTEM.

CREATE USER scott IDENTIFIED BY tiger;
CREATE USER man IDENTIFIED BY man;
GRANT CONNECT, RESOURCE TO scott, man;

CONNECT scott/tiger

CREATE TABLE dept (
  deptno NUMBER(2) CONSTRAINT pk_dept PRIMARY KEY,
  dname  VARCHAR2(14),
  loc    VARCHAR2(13));

CREATE TABLE emp (
  empno    NUMBER(4) CONSTRAINT pk_emp PRIMARY KEY,
  ename    VARCHAR2(10),
  job      VARCHAR2(9),
  mgr      NUMBER(4),
  hiredate DATE,
  sal      NUMBER(7,2),
  comm     NUMBER(7,2),
  deptno   NUMBER(2) CONSTRAINT fk_deptno REFERENCES dept);

CREATE TABLE bonus (
  ename VARCHAR2(10),
  job   VARCHAR2(9),
  sal   NUMBER,
  comm  NUMBER);

CREATE TABLE salgrade (
  grade NUMBER,
  losal NUMBER,
  hisal NUMBER);

INSERT INTO dept VALUES (10, 'ACCOUNTING', 'NEW YORK');
INSERT INTO dept VALUES (20, 'RESEARCH', 'DALLAS');
INSERT INTO dept VALUES (30, 'SALES', 'CHICAGO');
INSERT INTO dept VALUES (40, 'OPERATIONS', 'BOSTON');

INSERT INTO emp VALUES (7369, 'SMITH', 'CLERK', 7902, TO_DATE('17-12-1980', 'DD-MM-YYYY'), 800, NULL, 20);
INSERT INTO emp VALUES (7499, 'ALLEN', 'SALESMAN', 7698, TO_DATE('20-02-1981', 'DD-MM-YYYY'), 1600, 300, 30);
INSERT INTO emp VALUES (7521, 'WARD', 'SALESMAN', 7698, TO_DATE('22-02-1981', 'DD-MM-YYYY'), 1250, 500, 30);
INSERT INTO emp VALUES (7566, 'JONES', 'MANAGER', 7839, TO_DATE('02-04-1981', 'DD-MM-YYYY'), 2975, NULL, 20);
INSERT INTO emp VALUES (7654, 'MARTIN', 'SALESMAN', 7698, TO_DATE('28-09-1981', 'DD-MM-YYYY'), 1250, 1400, 30);
INSERT INTO emp VALUES (7698, 'BLAKE', 'MANAGER', 7839, TO_DATE('01-05-1981', 'DD-MM-YYYY'), 2850, NULL, 30);
INSERT INTO emp VALUES (7782, 'CLARK', 'MANAGER', 7839, TO_DATE('09-06-1981', 'DD-MM-YYYY'), 2450, NULL, 10);
INSERT INTO emp VALUES (7788, 'SCOTT', 'ANALYST', 7566, TO_DATE('19-04-1987', 'DD-MM-YYYY'), 3000, NULL, 20);
INSERT INTO emp VALUES (7839, 'KING', 'PRESIDENT', NULL, TO_DATE('17-11-1981', 'DD-MM-YYYY'), 5000, NULL, 10);
INSERT INTO emp VALUES (7844, 'TURNER', 'SALESMAN', 7698, TO_DATE('08-09-1981', 'DD-MM-YYYY'), 1500, 0, 30);
INSERT INTO emp VALUES (7876, 'ADAMS', 'CLERK', 7788, TO_DATE('23-05-1987', 'DD-MM-YYYY'), 1100, NULL, 20);
INSERT INTO emp VALUES (7900, 'JAMES', 'CLERK', 7698, TO_DATE('03-12-1981', 'DD-MM-YYYY'), 950, NULL, 30);
INSERT INTO emp VALUES (7902, 'FORD', 'ANALYST', 7566, TO_DATE('03-12-1981', 'DD-MM-YYYY'), 3000, NULL, 20);
INSERT INTO emp VALUES (7934, 'MILLER', 'CLERK', 7782, TO_DATE('23-01-1982', 'DD-MM-YYYY'), 1300, NULL, 10);

INSERT INTO salgrade VALUES (1, 700, 1200);
INSERT INTO salgrade VALUES (2, 1201, 1400);
INSERT INTO salgrade VALUES (3, 1401, 2000);
INSERT INTO salgrade VALUES (4, 2001, 3000);
INSERT INTO salgrade VALUES (5, 3001, 9999);
COMMIT;

CONNECT man/man

-- A small object world as ODDL makes one: each class has the key OID,
-- filled from the sequence <CLASS>_SEQ, and a reference holds the OID of
-- the object it refers to (emptied when that object is deleted). Some
-- references are empty: a dog without a friend or an owner, an owner
-- without a city.
CREATE TABLE persons (
  oid  NUMBER CONSTRAINT pk_persons PRIMARY KEY,
  name VARCHAR2(20),
  city VARCHAR2(20));

CREATE SEQUENCE persons_seq START WITH 6;

CREATE TABLE dogs (
  oid    NUMBER CONSTRAINT pk_dogs PRIMARY KEY,
  name   VARCHAR2(20) NOT NULL,
  age    NUMBER(38),
  friend NUMBER CONSTRAINT fk_dogs_friend REFERENCES dogs (oid) ON DELETE SET NULL,
  owner  NUMBER CONSTRAINT fk_dogs_owner REFERENCES persons (oid) ON DELETE SET NULL);

CREATE SEQUENCE dogs_seq START WITH 13;

INSERT INTO persons VALUES (1, 'Alice', 'Oslo');
INSERT INTO persons VALUES (2, 'Bob', 'Bergen');
INSERT INTO persons VALUES (3, 'Carol', 'Oslo');
INSERT INTO persons VALUES (4, 'Dave', 'Trondheim');
INSERT INTO persons VALUES (5, 'Erik', NULL);

INSERT INTO dogs VALUES (1, 'Rex', 5, NULL, 1);
INSERT INTO dogs VALUES (2, 'Bella', 3, 1, 2);
INSERT INTO dogs VALUES (3, 'Max', 7, 1, 3);
INSERT INTO dogs VALUES (4, 'Luna', 2, 2, 1);
INSERT INTO dogs VALUES (5, 'Buddy', 4, 3, 4);
INSERT INTO dogs VALUES (6, 'Daisy', 6, NULL, NULL);
INSERT INTO dogs VALUES (7, 'Rocky', 9, 5, 3);
INSERT INTO dogs VALUES (8, 'Molly', 1, 7, 5);
INSERT INTO dogs VALUES (9, 'Charlie', 8, NULL, 2);
INSERT INTO dogs VALUES (10, 'Lucy', 3, 9, NULL);
INSERT INTO dogs VALUES (11, 'Bailey', 11, 4, 4);
INSERT INTO dogs VALUES (12, 'Sadie', 2, 6, 1);
UPDATE dogs SET friend = 2 WHERE oid = 1;
COMMIT;
