-- Operations of the working month: cash book, department ledgers, the
-- congregations' monthly figures and the remittances to the head church.

-- Tipo: "D" tithe, "O" offering, "S" outflow.
CREATE TABLE LivroCaixa (
    Codigo    INTEGER PRIMARY KEY,
    CodIg     INTEGER,
    Ano       INTEGER,
    Mes       INTEGER,
    Dia       INTEGER,
    Tipo      TEXT,
    Historico TEXT COLLATE PTBR,
    Valor     REAL
);
CREATE INDEX LivroCaixa_Mes ON LivroCaixa (CodIg, Ano, Mes);

-- Tipo: "E" entry, "S" exit; CodDepto is a Departamentos.Codigo.
CREATE TABLE LancDeptos (
    Codigo    INTEGER PRIMARY KEY,
    CodIg     INTEGER,
    Ano       INTEGER,
    Mes       INTEGER,
    CodDepto  INTEGER,
    Dia       INTEGER,
    Tipo      TEXT,
    Historico TEXT COLLATE PTBR,
    Valor     REAL
);
CREATE INDEX LancDeptos_Mes ON LancDeptos (CodIg, Ano, Mes, CodDepto);

CREATE TABLE TotIgrejas (
    Codigo      INTEGER PRIMARY KEY,
    CodIg       INTEGER,
    CodCongrega INTEGER,
    Ano         INTEGER,
    Mes         INTEGER,
    Entradas    REAL,
    Saidas      REAL,
    Aluguel     REAL,
    Agua        REAL,
    Luz         REAL,
    Prebenda    REAL
);
CREATE INDEX TotIgrejas_Mes ON TotIgrejas (CodIg, Ano, Mes);

CREATE TABLE Remessas (
    Codigo INTEGER PRIMARY KEY,
    CodIg  INTEGER,
    Ano    INTEGER,
    Mes    INTEGER,
    Dia    INTEGER,
    Valor  REAL
);
CREATE INDEX Remessas_Mes ON Remessas (CodIg, Ano, Mes);

-- The cash book of one church and working month: ?1 church code, ?2 year,
-- ?3 month. The list sorts its rows itself.
-- consulta: ProcPesqLivroCaixa (Long, Long, Long)
SELECT Tipo, Dia, Historico, Valor, Codigo
  FROM LivroCaixa
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3;

-- consulta: ProcProximoLivroCaixa
SELECT COALESCE(MAX(Codigo), 0) + 1 AS Proximo FROM LivroCaixa;

-- Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor.
-- consulta: ProcInsLivroCaixa (Long, Long, Long, Long, Long, Text, Text, Currency)
INSERT INTO LivroCaixa (Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8);

-- consulta: ProcDelLivroCaixa (Long)
DELETE FROM LivroCaixa WHERE Codigo = ?1;

-- A changed month must be sent again: ?1 month, ?2 year.
-- consulta: ProcDelTransmissaoMes (Long, Long)
DELETE FROM Transmissao WHERE Mes = ?1 AND Ano = ?2;

-- The day's summary: tithes and offerings of each day of the month, in
-- whole cents so the sums are exact. ?1 church code, ?2 year, ?3 month.
-- consulta: ProcSomaLivroCaixaDia (Long, Long, Long)
SELECT Dia, Tipo, SUM(CAST(ROUND(Valor * 100) AS INTEGER)) AS Centavos
  FROM LivroCaixa
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND Tipo IN ('D', 'O')
 GROUP BY Dia, Tipo;

-- History lists of the entry forms (cash book, department ledger): one
-- text field Descr per register row of the church ?1.
-- consulta: ProcPesqHistOfertas (Long)
SELECT Descricao AS Descr FROM Ofertas WHERE CodIg = ?1;

-- A tither reads "NAME RI:nnnnnnnn CG"; without a position the text ends
-- after the membership number (the combo trims the blank).
-- consulta: ProcPesqHistDizimos (Long)
SELECT TRIM(COALESCE(D.Nome, '')) || ' RI:' || COALESCE(D.RI, '') || ' ' || COALESCE(C.Abreviado, '') AS Descr
  FROM Dizimos AS D
  LEFT JOIN Cargos AS C ON C.Codigo = D.Cargo
 WHERE D.CodIg = ?1;

-- An outflow account reads "DESCRIPTION CT:code".
-- consulta: ProcPesqHistSaidas (Long)
SELECT COALESCE(Descricao, '') || ' CT:' || COALESCE(Codigo, '') AS Descr FROM Saidas WHERE CodIg = ?1;
