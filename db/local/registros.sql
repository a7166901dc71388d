-- Support registers: histories, tithers, positions, outflow accounts,
-- departments, agenda, the sector's congregations and calculation types.

-- Histories of offering services.
CREATE TABLE Ofertas (
    Codigo    INTEGER PRIMARY KEY,
    CodIg     INTEGER,
    Descricao TEXT COLLATE PTBR
);
CREATE INDEX Ofertas_CodIg ON Ofertas (CodIg);

-- Tithers; RI is the membership number, Cargo a Cargos.Codigo.
CREATE TABLE Dizimos (
    Codigo INTEGER PRIMARY KEY,
    CodIg  INTEGER,
    RI     TEXT,
    Nome   TEXT COLLATE PTBR,
    Cargo  INTEGER
);
CREATE INDEX Dizimos_CodIg ON Dizimos (CodIg);
CREATE INDEX Dizimos_RI ON Dizimos (RI);

-- Church positions, as coded by the central system.
CREATE TABLE Cargos (
    Codigo    INTEGER PRIMARY KEY,
    Descricao TEXT COLLATE PTBR,
    Abreviado TEXT
);

-- Outflow accounts of the central chart, refilled whole by the download.
CREATE TABLE Saidas (
    Codigo    INTEGER,
    CodIg     INTEGER,
    Descricao TEXT COLLATE PTBR
);
CREATE INDEX Saidas_CodIg ON Saidas (CodIg);

CREATE TABLE Departamentos (
    Codigo    INTEGER PRIMARY KEY,
    CodIg     INTEGER,
    Descricao TEXT COLLATE PTBR
);
CREATE INDEX Departamentos_CodIg ON Departamentos (CodIg);

-- Commitments of a day; an entry is identified by all five values.
CREATE TABLE Agenda (
    CodIg     INTEGER,
    Ano       INTEGER,
    Mes       INTEGER,
    Dia       INTEGER,
    Descricao TEXT COLLATE PTBR
);
CREATE INDEX Agenda_Data ON Agenda (CodIg, Ano, Mes, Dia);

-- Congregations of the installation's sector or region.
CREATE TABLE Igrejas (
    CodIg       INTEGER NOT NULL,
    CodCongrega INTEGER NOT NULL,
    Nome        TEXT COLLATE PTBR,
    Calculo     INTEGER,
    PRIMARY KEY (CodIg, CodCongrega)
);

CREATE TABLE TipoCalculo (
    Tipo      INTEGER PRIMARY KEY,
    Descricao TEXT COLLATE PTBR
);

-- The six calculation types, so that the congregations' type box is not
-- empty before the first download; a table that already has rows (a
-- download's) is left as it is.
INSERT INTO TipoCalculo (Tipo, Descricao)
SELECT Tipo, 'Cálculo ' || printf('%02d', Tipo)
  FROM (SELECT 1 AS Tipo UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 UNION ALL SELECT 5 UNION ALL SELECT 6)
 WHERE NOT EXISTS (SELECT 1 FROM TipoCalculo);

-- The day's notices: year, month and day arrive without leading zeros and
-- are compared as numbers.
-- consulta: ProcPesqAgendaHoje (Long, Long, Long, Long)
SELECT Descricao
  FROM Agenda
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND Dia = ?4;

-- Histories register: offering histories, tithers with their position,
-- outflow accounts. Every list holds one church's rows (?1 is its code).
-- consulta: ProcPesqOfertas (Long)
SELECT Descricao, Codigo
  FROM Ofertas
 WHERE CodIg = ?1
 ORDER BY Descricao;

-- Also read by the tithers list, the envelopes and the TV page: a tither
-- without a position, or with one missing from Cargos, has a Null
-- Abreviado.
-- consulta: ProcPesqDizimos (Long)
SELECT C.Abreviado, D.Nome, D.RI, D.Cargo, D.Codigo
  FROM Dizimos AS D
  LEFT JOIN Cargos AS C ON C.Codigo = D.Cargo
 WHERE D.CodIg = ?1
 ORDER BY D.Nome;

-- consulta: ProcPesqSaidas (Long)
SELECT Descricao, Codigo
  FROM Saidas
 WHERE CodIg = ?1
 ORDER BY Descricao;

-- The position combo: name, abbreviation between "[" and "]" (a tither's
-- row prefix is taken from there) and code between "«" and "»", in the
-- order of the codes. The register gives ten zeros as the membership
-- number to the first and the ninth position of this order.
-- consulta: ProcPesqCargos
SELECT Codigo,
       COALESCE(Descricao, '') || ' [' || COALESCE(Abreviado, '') || '] «' || Codigo || '»' AS Descr
  FROM Cargos
 ORDER BY Codigo;

-- consulta: ProcProximoOfertas
SELECT COALESCE(MAX(Codigo), 0) + 1 AS Proximo FROM Ofertas;

-- consulta: ProcProximoDizimos
SELECT COALESCE(MAX(Codigo), 0) + 1 AS Proximo FROM Dizimos;

-- consulta: ProcInsOfertas (Long, Long, Text)
INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (?1, ?2, ?3);

-- Codigo, CodIg, RI, Nome, Cargo.
-- consulta: ProcInsDizimos (Long, Long, Text, Text, Long)
INSERT INTO Dizimos (Codigo, CodIg, RI, Nome, Cargo) VALUES (?1, ?2, ?3, ?4, ?5);

-- consulta: ProcDelOfertas (Long)
DELETE FROM Ofertas WHERE Codigo = ?1;

-- consulta: ProcDelDizimos (Long)
DELETE FROM Dizimos WHERE Codigo = ?1;
