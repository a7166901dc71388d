-- The parameter record as the parameters form writes it, the departments
-- register and the department ledger.

-- Whether the installation's one parameter record exists. It is addressed
-- as the one record, whatever its code: a change of the church's code
-- updates it instead of adding a second record.
-- consulta: ProcSelParametros
SELECT Codigo FROM Parametros ORDER BY rowid LIMIT 1;

-- Codigo, Razao, Tipo, Reg_Setor, Congrega, Ano, Mes, Situacao, Banco,
-- Agencia, Conta.
-- consulta: ProcInsParametros (Long, Text, Text, Text, Text, Long, Long, Text, Text, Text, Text)
INSERT INTO Parametros (Codigo, Razao, Tipo, Reg_Setor, Congrega, Ano, Mes, Situacao, Banco, Agencia, Conta)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11);

-- The same values into the one record (the one ProcPesqParametros reads).
-- consulta: ProcUpdParametros (Long, Text, Text, Text, Text, Long, Long, Text, Text, Text, Text)
UPDATE Parametros
   SET Codigo = ?1, Razao = ?2, Tipo = ?3, Reg_Setor = ?4, Congrega = ?5, Ano = ?6, Mes = ?7,
       Situacao = ?8, Banco = ?9, Agencia = ?10, Conta = ?11
 WHERE rowid = (SELECT rowid FROM Parametros ORDER BY rowid LIMIT 1);

-- After every save, with the same values: the record just written stays
-- the table's only one (a file that somehow got a second record loses
-- it). Nothing stored under the church's code elsewhere is touched. When
-- no record matches the values, nothing is deleted.
-- consulta: ProcUpdParametro1 (Long, Text, Text, Text, Text, Long, Long, Text, Text, Text, Text)
DELETE FROM Parametros
 WHERE rowid <> (SELECT MIN(rowid) FROM Parametros
                  WHERE Codigo = ?1 AND Razao = ?2 AND Tipo = ?3 AND Reg_Setor = ?4 AND Congrega = ?5
                    AND Ano = ?6 AND Mes = ?7 AND Situacao = ?8 AND Banco = ?9 AND Agencia = ?10
                    AND Conta = ?11);

-- Departments of the church ?1; the list sorts them itself.
-- consulta: ProcSelDeptos (Long)
SELECT Descricao, Codigo FROM Departamentos WHERE CodIg = ?1;

-- consulta: ProcProximoDeptos
SELECT COALESCE(MAX(Codigo), 0) + 1 AS Proximo FROM Departamentos;

-- Codigo, CodIg, Descricao.
-- consulta: ProcInsDeptos (Long, Long, Text)
INSERT INTO Departamentos (Codigo, CodIg, Descricao) VALUES (?1, ?2, ?3);

-- A corrected name under the department's own code: ?1 code, ?2 church,
-- ?3 name.
-- consulta: ProcUpdDeptos (Long, Long, Text)
UPDATE Departamentos SET CodIg = ?2, Descricao = ?3 WHERE Codigo = ?1;

-- Whether the department ?1 is stored.
-- consulta: ProcPesqDepto (Long)
SELECT Codigo FROM Departamentos WHERE Codigo = ?1;

-- consulta: ProcDelDeptos (Long)
DELETE FROM Departamentos WHERE Codigo = ?1;

-- Ledger entries of the department ?1, in any month: a department that
-- has them is not deleted.
-- consulta: ProcContaLancDepto (Long)
SELECT COUNT(*) AS Total FROM LancDeptos WHERE CodDepto = ?1;

-- One department's ledger of a month: ?1 church, ?2 year, ?3 month,
-- ?4 department. The list sorts its rows itself.
-- consulta: ProcPesqLancDeptos (Long, Long, Long, Long)
SELECT Dia, Tipo, Historico, Valor, Codigo
  FROM LancDeptos
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND CodDepto = ?4;

-- consulta: ProcProximoLancDeptos
SELECT COALESCE(MAX(Codigo), 0) + 1 AS Proximo FROM LancDeptos;

-- Codigo, CodIg, Ano, Mes, CodDepto, Dia, Tipo, Historico, Valor.
-- consulta: ProcInsLancDeptos (Long, Long, Long, Long, Long, Long, Text, Text, Currency)
INSERT INTO LancDeptos (Codigo, CodIg, Ano, Mes, CodDepto, Dia, Tipo, Historico, Valor)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9);

-- consulta: ProcDelLancDeptos (Long)
DELETE FROM LancDeptos WHERE Codigo = ?1;

-- The latest month up to ?2/?3 (year, month) in which the department ?4 of
-- the church ?1 has entries: its balance is the one carried forward.
-- consulta: ProcPesqUltimoMesDepto (Long, Long, Long, Long)
SELECT Ano, Mes
  FROM LancDeptos
 WHERE CodIg = ?1 AND CodDepto = ?4 AND (Ano < ?2 OR (Ano = ?2 AND Mes <= ?3))
 ORDER BY Ano DESC, Mes DESC
 LIMIT 1;

-- A department's entries and exits of one month, in whole cents so that
-- the sums are exact: ?1 church, ?2 year, ?3 month, ?4 department. Null
-- when there are none.
-- consulta: ProcPesqEntDepto (Long, Long, Long, Long)
SELECT SUM(CAST(ROUND(Valor * 100) AS INTEGER)) AS Centavos
  FROM LancDeptos
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND CodDepto = ?4 AND Tipo = 'E';

-- consulta: ProcPesqSaiDepto (Long, Long, Long, Long)
SELECT SUM(CAST(ROUND(Valor * 100) AS INTEGER)) AS Centavos
  FROM LancDeptos
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND CodDepto = ?4 AND Tipo = 'S';
