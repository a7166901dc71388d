-- Installation parameters and the stored queries themselves.
--
-- Codes, days, months and years are INTEGER (64 bits). Money is REAL: a
-- Currency parameter is an amount of whole cents, bound as the nearest
-- double, so each stored amount reads back as the same amount to the cent. Names and
-- descriptions that the forms compare or sort on use the PTBR collation
-- (case-insensitive, accents significant), registered by the program on
-- every connection.

-- The installation's one parameter record.
CREATE TABLE Parametros (
    Codigo    INTEGER,
    Razao     TEXT COLLATE PTBR,
    Tipo      TEXT,
    Reg_Setor TEXT COLLATE PTBR,
    Congrega  TEXT COLLATE PTBR,
    Ano       INTEGER,
    Mes       INTEGER,
    Situacao  TEXT,
    Banco     TEXT COLLATE PTBR,
    Agencia   TEXT,
    Conta     TEXT
);

-- Stored queries: Parametros lists the declared type of each positional
-- parameter (?1, ?2, ...), for example "Long,Text,Currency".
CREATE TABLE Consultas (
    Nome       TEXT PRIMARY KEY COLLATE NOCASE,
    Parametros TEXT,
    Sql        TEXT
);

-- consulta: ProcPesqParametros
SELECT Codigo, Razao, Reg_Setor, Congrega, Tipo, Mes, Ano, Banco, Agencia, Conta
  FROM Parametros
 ORDER BY rowid
 LIMIT 1;
