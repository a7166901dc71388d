-- The register download: what each step reads of the local registers to
-- match the central rows, and what it writes. Texts arrive with one
-- leading "=" that the queries strip, so that an empty central text is
-- still a value and never an unassigned parameter.

-- consulta: ProcAtuPesqCalculos
SELECT Tipo FROM TipoCalculo;

-- consulta: ProcAtuInsCalculo (Long, Text)
INSERT INTO TipoCalculo (Tipo, Descricao) VALUES (?1, substr(?2, 2));

-- consulta: ProcAtuUpdCalculo (Long, Text)
UPDATE TipoCalculo SET Descricao = substr(?2, 2) WHERE Tipo = ?1;

-- Departments are matched by their description alone, whatever the
-- church code.
-- consulta: ProcAtuPesqDeptos
SELECT Descricao FROM Departamentos;

-- Codigo, CodIg, Descricao.
-- consulta: ProcAtuInsDepto (Long, Long, Text)
INSERT INTO Departamentos (Codigo, CodIg, Descricao) VALUES (?1, ?2, substr(?3, 2));

-- consulta: ProcAtuPesqCargos
SELECT Codigo FROM Cargos;

-- Codigo, Descricao, Abreviado (empty: Null).
-- consulta: ProcAtuInsCargo (Long, Text, Text)
INSERT INTO Cargos (Codigo, Descricao, Abreviado) VALUES (?1, substr(?2, 2), NULLIF(substr(?3, 2), ''));

-- consulta: ProcAtuUpdCargo (Long, Text, Text)
UPDATE Cargos SET Descricao = substr(?2, 2), Abreviado = NULLIF(substr(?3, 2), '') WHERE Codigo = ?1;

-- The congregations the installation keeps (?1 is its code).
-- consulta: ProcAtuPesqIgrejas (Long)
SELECT CodCongrega FROM Igrejas WHERE CodIg = ?1;

-- CodIg, CodCongrega, Nome, Calculo.
-- consulta: ProcAtuInsIgreja (Long, Long, Text, Integer)
INSERT INTO Igrejas (CodIg, CodCongrega, Nome, Calculo) VALUES (?1, ?2, substr(?3, 2), ?4);

-- consulta: ProcAtuUpdIgreja (Long, Long, Text, Integer)
UPDATE Igrejas SET Nome = substr(?3, 2), Calculo = ?4 WHERE CodIg = ?1 AND CodCongrega = ?2;

-- consulta: ProcAtuDelSaidas
DELETE FROM Saidas;

-- Codigo, CodIg, Descricao.
-- consulta: ProcAtuInsSaida (Long, Long, Text)
INSERT INTO Saidas (Codigo, CodIg, Descricao) VALUES (?1, ?2, substr(?3, 2));

-- Tithers are matched by their membership number alone, whatever the
-- church code.
-- consulta: ProcAtuPesqDizimos
SELECT RI, Codigo FROM Dizimos WHERE RI IS NOT NULL;

-- Codigo, CodIg, RI, Nome, Cargo (empty: Null).
-- consulta: ProcAtuInsDizimo (Long, Long, Text, Text, Text)
INSERT INTO Dizimos (Codigo, CodIg, RI, Nome, Cargo)
VALUES (?1, ?2, substr(?3, 2), substr(?4, 2), CAST(NULLIF(substr(?5, 2), '') AS INTEGER));

-- An existing tither keeps its Codigo and RI.
-- consulta: ProcAtuUpdDizimo (Long, Long, Text, Text)
UPDATE Dizimos SET CodIg = ?2, Nome = substr(?3, 2), Cargo = CAST(NULLIF(substr(?4, 2), '') AS INTEGER)
 WHERE Codigo = ?1;
