-- The sector's congregations in the month's closing: one row per
-- congregation of the register with figures for ?1 church code, ?2 year,
-- ?3 month, its figures summed when typed in more than one row. The
-- installation's own code is left out: a closing statement posts the
-- installation's own month under it, and those are the month's entries
-- already.
-- consulta: ProcImpTotIgrejas (Long, Long, Long)
SELECT I.Nome AS Nome, I.CodCongrega AS CodCongrega, I.Calculo AS Calculo,
       SUM(T.Entradas) AS Entradas, SUM(T.Saidas) AS Saidas, SUM(T.Aluguel) AS Aluguel,
       SUM(T.Agua) AS Agua, SUM(T.Luz) AS Luz, SUM(T.Prebenda) AS Prebenda
  FROM Igrejas I
  JOIN TotIgrejas T ON T.CodIg = I.CodIg AND T.CodCongrega = I.CodCongrega
 WHERE I.CodIg = ?1 AND T.Ano = ?2 AND T.Mes = ?3 AND I.CodCongrega <> ?1
 GROUP BY I.CodIg, I.CodCongrega
 ORDER BY I.Nome, I.CodCongrega;

-- The month's remittances to the head church: ?1 church code, ?2 year,
-- ?3 month. Total is Null when there are none.
-- consulta: ProcSomaRemessa (Long, Long, Long)
SELECT SUM(Valor) AS Total
  FROM Remessas
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3;

-- Whether a month was sent: ?1 month, ?2 year. Run only after the table is
-- known to be there.
-- consulta: ProcPesqTransmissaoMes (Long, Long)
SELECT Usuario
  FROM Transmissao
 WHERE Mes = ?1 AND Ano = ?2;
