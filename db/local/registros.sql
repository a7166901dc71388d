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

-- The day's notices: year, month and day arrive without leading zeros and
-- are compared as numbers.
-- consulta: ProcPesqAgendaHoje (Long, Long, Long, Long)
SELECT Descricao
  FROM Agenda
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND Dia = ?4;
