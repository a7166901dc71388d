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
