-- The version the central system publishes: the view the program reads,
-- over a one-row table that tests and demonstrations set.
CREATE TABLE IF NOT EXISTS versao_sistema (versao VARCHAR(20) NULL) CHARACTER SET utf8mb4;
CREATE OR REPLACE VIEW vws_versao AS SELECT versao FROM versao_sistema;
