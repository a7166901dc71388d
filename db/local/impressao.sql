-- Standalone payment receipts. Codig is the paying church's code; the
-- total is never stored (it is the sum of the four values).
CREATE TABLE Recibos (
    Codigo   INTEGER PRIMARY KEY,
    Codig    INTEGER,
    eu       TEXT COLLATE PTBR,
    CPF      TEXT,
    Congrega TEXT COLLATE PTBR,
    Despesa1 TEXT COLLATE PTBR,
    Despesa2 TEXT COLLATE PTBR,
    Despesa3 TEXT COLLATE PTBR,
    Despesa4 TEXT COLLATE PTBR,
    Valor1   REAL,
    Valor2   REAL,
    Valor3   REAL,
    Valor4   REAL,
    Ano      INTEGER,
    Mes      INTEGER,
    Dia      INTEGER
);
CREATE INDEX Recibos_Codig ON Recibos (Codig);
