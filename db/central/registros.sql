-- The central registers the download reads: sectors and their regions,
-- the congregations' remittance settings, departments, church positions
-- and the members, through the view the central system publishes.
-- Re-runnable, as the other files here.

-- A sector and the region it belongs to.
CREATE TABLE IF NOT EXISTS tblsetores (
    codigo      INT NOT NULL,
    nome        VARCHAR(100) NULL,
    codregional INT NULL,
    UNIQUE KEY tblsetores_codigo (codigo),
    KEY tblsetores_regional (codregional)
) ENGINE=InnoDB CHARACTER SET utf8mb4;

-- Remittance settings of a congregation, newest by Codigo. CodDesconto is
-- kept as the central system types it: it may be Null or not a number.
CREATE TABLE IF NOT EXISTS tblcongremessas (
    Codigo      INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    CodDesconto VARCHAR(10) NULL,
    setor       INT NULL,
    congregacao INT NULL,
    KEY tblcongremessas_congregacao (congregacao, setor)
) ENGINE=InnoDB CHARACTER SET utf8mb4;

-- Departments; '---' marks a row that is no department.
CREATE TABLE IF NOT EXISTS tbldepartamentos (
    codigo    INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    descricao VARCHAR(100) NULL
) ENGINE=InnoDB CHARACTER SET utf8mb4;

-- Church positions: descricaocompleta holds the two letters the tithe
-- histories carry.
CREATE TABLE IF NOT EXISTS tblcargos (
    codigo            INT NOT NULL,
    descricao         VARCHAR(100) NULL,
    descricaocompleta VARCHAR(100) NULL,
    UNIQUE KEY tblcargos_codigo (codigo)
) ENGINE=InnoDB CHARACTER SET utf8mb4;

-- Members of the congregations; the membership number keeps its zeros.
CREATE TABLE IF NOT EXISTS tblmembros (
    codigo      INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    congregacao INT NULL,
    codmembro   VARCHAR(20) NULL,
    nome        VARCHAR(150) NULL,
    cargo       INT NULL,  -- NULL: no position
    KEY tblmembros_congregacao (congregacao)
) ENGINE=InnoDB CHARACTER SET utf8mb4;

CREATE OR REPLACE VIEW vws_getmember AS
SELECT congregacao AS Congregacao, codmembro AS CodMembro, nome AS NomeMembro, cargo AS Ministerio
  FROM tblmembros;
