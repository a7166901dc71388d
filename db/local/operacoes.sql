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
