-- The closing statement: the installation posts its own month as the
-- figures of a congregation of its sector whose code is its own church
-- code, then each line of the statement's month sheet reads its
-- congregation's figures.

-- Whether the church ?1 has the congregation ?2.
-- consulta: ProcPesqIgreja2 (Long, Long)
SELECT CodCongrega FROM Igrejas WHERE CodIg = ?1 AND CodCongrega = ?2;

-- The month's rows of the church ?1's congregation ?2, year ?3, month ?4.
-- consulta: ProcPesqFechaTotIgrejas (Long, Long, Long, Long)
SELECT Codigo, Entradas, Saidas
  FROM TotIgrejas
 WHERE CodIg = ?1 AND CodCongrega = ?2 AND Ano = ?3 AND Mes = ?4;

-- Church ?1, congregation ?2, year ?3, month ?4: its entries ?5 and
-- outflows ?6; the expenses stay as typed.
-- consulta: ProcUpdTotIgreja (Long, Long, Long, Long, Currency, Currency)
UPDATE TotIgrejas
   SET Entradas = ?5, Saidas = ?6
 WHERE CodIg = ?1 AND CodCongrega = ?2 AND Ano = ?3 AND Mes = ?4;

-- The month's figures of the church ?1's congregations, year ?2, month ?3:
-- one row per congregation, summed over its rows as the month's closing
-- sums them. Each line of the statement's month sheet takes its
-- congregation's row; a congregation without one has no figures.
-- consulta: ProcFechaTotIgrejasMes (Long, Long, Long)
SELECT CodCongrega, SUM(Entradas) AS Entradas, SUM(Luz) AS Luz, SUM(Aluguel) AS Aluguel, SUM(Agua) AS Agua,
       SUM(Prebenda) AS Prebenda, SUM(Saidas) AS Saidas
  FROM TotIgrejas
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3
 GROUP BY CodCongrega;
