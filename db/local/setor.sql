-- The sector of a head church: its congregations, their monthly figures and
-- the remittances sent to the head church.

-- Congregations of the church ?1; the list and the box order them.
-- consulta: ProcPesqIgreja (Long)
SELECT CodCongrega, Nome, Calculo
  FROM Igrejas
 WHERE CodIg = ?1;

-- Whether the church ?1 already has the congregation ?2.
-- consulta: ProcExisteIgreja (Long, Long)
SELECT CodCongrega FROM Igrejas WHERE CodIg = ?1 AND CodCongrega = ?2;

-- CodIg, CodCongrega, Nome, Calculo. The name is cut to the 30 characters
-- the readers' columns hold, whoever writes it.
-- consulta: ProcInsIgreja (Long, Long, Text, Long)
INSERT INTO Igrejas (CodIg, CodCongrega, Nome, Calculo)
VALUES (?1, ?2, substr(?3, 1, 30), ?4);

-- consulta: ProcDelIgreja (Long, Long)
DELETE FROM Igrejas WHERE CodIg = ?1 AND CodCongrega = ?2;

-- The month's figures of the church ?1, year ?2, month ?3. A row whose
-- congregation left the register comes too, with a Null name, so that it
-- can be seen and removed.
-- consulta: ProcPesqTotIgreja (Long, Long, Long)
SELECT I.Nome, T.Entradas, T.Saidas, T.Aluguel, T.Agua, T.Luz, T.Prebenda, T.CodCongrega, T.Codigo
  FROM TotIgrejas AS T
  LEFT JOIN Igrejas AS I ON I.CodIg = T.CodIg AND I.CodCongrega = T.CodCongrega
 WHERE T.CodIg = ?1 AND T.Ano = ?2 AND T.Mes = ?3;

-- consulta: ProcProximoTotIgreja
SELECT COALESCE(MAX(Codigo), 0) + 1 AS Proximo FROM TotIgrejas;

-- Codigo, CodIg, CodCongrega, Ano, Mes, Entradas, Saidas, Aluguel, Agua,
-- Luz, Prebenda.
-- consulta: ProcInsTotIgreja (Long, Long, Long, Long, Long, Currency, Currency, Currency, Currency, Currency, Currency)
INSERT INTO TotIgrejas (Codigo, CodIg, CodCongrega, Ano, Mes, Entradas, Saidas, Aluguel, Agua, Luz, Prebenda)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11);

-- consulta: ProcDelTotIgreja (Long)
DELETE FROM TotIgrejas WHERE Codigo = ?1;

-- The month's remittances of the church ?1, year ?2, month ?3.
-- consulta: ProcPesqRemessa (Long, Long, Long)
SELECT Dia, Valor, Codigo
  FROM Remessas
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3;

-- consulta: ProcProximoRemessas
SELECT COALESCE(MAX(Codigo), 0) + 1 AS Proximo FROM Remessas;

-- Codigo, CodIg, Ano, Mes, Dia, Valor.
-- consulta: ProcInsRemessa (Long, Long, Long, Long, Long, Currency)
INSERT INTO Remessas (Codigo, CodIg, Ano, Mes, Dia, Valor)
VALUES (?1, ?2, ?3, ?4, ?5, ?6);

-- consulta: ProcDelRemessa (Long)
DELETE FROM Remessas WHERE Codigo = ?1;
