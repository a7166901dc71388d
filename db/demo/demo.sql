-- Demonstration rows for a new program folder (criabanco --demo): one
-- church with its working month, church positions, offering histories,
-- tithers and outflow accounts, so that a newcomer finds a working cash
-- book. In a real installation positions and outflow accounts arrive only
-- through the register download. Tests never use this file.

-- The church and its working month: the month in which the folder is made.
INSERT INTO Parametros (Codigo, Razao, Tipo, Reg_Setor, Congrega, Ano, Mes, Banco, Agencia, Conta)
VALUES (315, 'IGREJA DO BOM PASTOR', 'S', 'SETOR LESTE', 'JARDIM DAS FLORES',
        CAST(strftime('%Y', 'now', 'localtime') AS INTEGER),
        CAST(strftime('%m', 'now', 'localtime') AS INTEGER),
        '001', '1234-5', '56789-0');

-- Positions, in the order of their codes as the histories register lists
-- them ("NAME [XX] «code»"): the first (CONGREGADO) and the ninth
-- (VISITANTE) receive the ten-zero membership number.
INSERT INTO Cargos (Codigo, Descricao, Abreviado) VALUES
    (1, 'CONGREGADO', 'CG'),
    (2, 'PASTOR', 'PR'),
    (3, 'EVANGELISTA', 'EV'),
    (4, 'MISSIONÁRIO', 'MS'),
    (5, 'PRESBÍTERO', 'PB'),
    (6, 'DIÁCONO', 'DC'),
    (7, 'COOPERADOR', 'CP'),
    (8, 'MEMBRO', 'MB'),
    (9, 'VISITANTE', 'CG'),
    (10, 'DIACONISA', 'DC');

-- The seven weekday histories, as the register download adds them.
INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES
    (1, 315, 'DOMINGO - CULTO COM A FAMÍLIA'),
    (2, 315, 'SEGUNDA-FEIRA - CULTO DE ORAÇÃO'),
    (3, 315, 'TERÇA-FEIRA - CULTO DE ENSINO E DOUTRINA'),
    (4, 315, 'QUARTA-FEIRA - CULTO DE NOITE DA BENÇÃO'),
    (5, 315, 'QUINTA-FEIRA - CULTO DE NOITE DA BENÇÃO'),
    (6, 315, 'SEXTA-FEIRA - CULTO DE ENSINO E DOUTRINA'),
    (7, 315, 'SÁBADO - CEIA DO SENHOR');

-- Tithers: accented and plain initials side by side, a name that holds a
-- position's letters inside a word (ANA PRADO), and the two ten-zero
-- positions.
INSERT INTO Dizimos (Codigo, CodIg, RI, Nome, Cargo) VALUES
    (1, 315, '12345', 'JOSÉ DA SILVA', 5),
    (2, 315, '12346', 'ÁUREA MENDES', 8),
    (3, 315, '13002', 'ANA PRADO', 6),
    (4, 315, '0000000000', 'MARCOS VIEIRA', 1),
    (5, 315, '10001', 'PAULO RIBEIRO', 2),
    (6, 315, '11500', 'ELIANA COSTA', 3),
    (7, 315, '0000000000', 'TERESA LIMA', 9),
    (8, 315, '14321', 'ANDRÉ LUIZ', 7),
    (9, 315, '15678', 'ÉLCIO NUNES', 4),
    (10, 315, '16020', 'CLARA FONSECA', 10);

-- Outflow accounts: the central chart's outflow accounts of
-- db/central/demonstracao.sql as the register download brings them (the
-- account number as the code, the name in capitals); the cash book shows
-- the code as the tag "CT:", which the send looks up in that chart.
INSERT INTO Saidas (Codigo, CodIg, Descricao) VALUES
    (4101, 315, 'ENERGIA ELÉTRICA'),
    (4102, 315, 'ÁGUA E ESGOTO'),
    (4110, 315, 'ALUGUEL DO SALÃO'),
    (4205, 315, 'MATERIAL DE LIMPEZA'),
    (4301, 315, 'PREBENDA PASTORAL'),
    (4302, 315, 'AJUDA DE CUSTO A OBREIROS'),
    (4401, 315, 'MANUTENÇÃO DO TEMPLO'),
    (4501, 315, 'TELEFONE E INTERNET');
