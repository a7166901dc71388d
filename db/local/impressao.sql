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

-- The church's receipt numbers: ?1 church code, in number order.
-- consulta: ProcPesqRecibos2 (Long)
SELECT Codigo
  FROM Recibos
 WHERE Codig = ?1
 ORDER BY Codigo;

-- One receipt by its number ?1; no row when there is none.
-- consulta: ProcPesqRecibos (Long)
SELECT Codig, Valor1, Valor2, Valor3, Valor4, eu, CPF, Congrega,
       Despesa1, Despesa2, Despesa3, Despesa4, Dia, Mes, Ano
  FROM Recibos
 WHERE Codigo = ?1;

-- A number no receipt of any church has: numbers are unique over the
-- whole table, so they are taken inside the unit that inserts.
-- consulta: ProcProximoRecibos
SELECT COALESCE(MAX(Codigo), 0) + 1 AS Proximo FROM Recibos;

-- Codigo, Codig, eu, CPF, Congrega, Despesa1..4, Valor1..4, Ano, Mes, Dia.
-- consulta: ProcInsRecibo (Long, Long, Text, Text, Text, Text, Text, Text, Text, Currency, Currency, Currency, Currency, Long, Long, Long)
INSERT INTO Recibos (Codigo, Codig, eu, CPF, Congrega, Despesa1, Despesa2, Despesa3, Despesa4,
                     Valor1, Valor2, Valor3, Valor4, Ano, Mes, Dia)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16);

-- The same sixteen fields in the same order; ?1 names the receipt.
-- consulta: ProcUpdRecibo (Long, Long, Text, Text, Text, Text, Text, Text, Text, Currency, Currency, Currency, Currency, Long, Long, Long)
UPDATE Recibos
   SET Codig = ?2, eu = ?3, CPF = ?4, Congrega = ?5, Despesa1 = ?6, Despesa2 = ?7, Despesa3 = ?8,
       Despesa4 = ?9, Valor1 = ?10, Valor2 = ?11, Valor3 = ?12, Valor4 = ?13, Ano = ?14, Mes = ?15, Dia = ?16
 WHERE Codigo = ?1;

-- The month's tithes, for the tithers list and the TV page: ?1 church
-- code, ?2 year, ?3 month. The lists sort their rows themselves.
-- consulta: ProcDizimistas (Long, Long, Long)
SELECT Historico
  FROM LivroCaixa
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND Tipo = 'D';

-- A whole year's tithes at once, for the yearly grid of the tithers: ?1
-- church code, ?2 year.
-- consulta: ProcDizimistasAno (Long, Long)
SELECT Mes, Historico
  FROM LivroCaixa
 WHERE CodIg = ?1 AND Ano = ?2 AND Tipo = 'D';

-- The month's cash book of one kind, for the forms that close, state and
-- send it: ?1 church code, ?2 year, ?3 month, ?4 kind ("O", "D" or "S",
-- matched exactly). Within a kind, by day and then in the order typed.
-- consulta: ProcImpLivroCaixa (Long, Long, Long, Text)
SELECT Tipo, Dia, Historico, Valor, Codigo
  FROM LivroCaixa
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND Tipo = ?4
 ORDER BY Dia, Codigo;

-- The church ?1's bank, branch and account, kept with the installation's
-- parameters, for the yellow tithe envelope. No row for another church,
-- nor while none of the three is filled in: the envelope then reads
-- "N / C" for each.
-- consulta: ProcPesqBcoAgCta (Long)
SELECT Banco, Agencia, Conta
  FROM Parametros
 WHERE Codigo = ?1
   AND (TRIM(COALESCE(Banco, '')) <> '' OR TRIM(COALESCE(Agencia, '')) <> '' OR TRIM(COALESCE(Conta, '')) <> '')
 ORDER BY rowid
 LIMIT 1;
