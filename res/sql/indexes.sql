-- Indexes on the reference columns. Made with every new database, and added at open
-- to a file that lacks them (silently: a read-only file simply goes without).
-- One statement per line.
CREATE INDEX IF NOT EXISTS IX_PERSONAL_ID_FUNCION ON PERSONAL (ID_FUNCION);
CREATE INDEX IF NOT EXISTS IX_TURNOS_ID_TIPOTURNO ON TURNOS (ID_TIPOTURNO);
CREATE INDEX IF NOT EXISTS IX_ASIG_TURNOS_ID_PERSONAL ON ASIG_TURNOS (ID_PERSONAL);
CREATE INDEX IF NOT EXISTS IX_EXCEPCIONES_ID_PERSONAL ON EXCEPCIONES (ID_PERSONAL);
CREATE INDEX IF NOT EXISTS IX_VACACIONES_ID_PERSONAL ON VACACIONES (ID_PERSONAL);
CREATE INDEX IF NOT EXISTS IX_VACACIONES_ID_SUPLENTE ON VACACIONES (ID_SUPLENTE);
CREATE INDEX IF NOT EXISTS IX_BAJAS_ID_PERSONAL ON BAJAS (ID_PERSONAL);
CREATE INDEX IF NOT EXISTS IX_BAJAS_ID_SUPLENTE ON BAJAS (ID_SUPLENTE);
CREATE INDEX IF NOT EXISTS IX_DIASPERSONALES_ID_PERSONAL ON DIASPERSONALES (ID_PERSONAL);
CREATE INDEX IF NOT EXISTS IX_DIASPERSONALES_ID_SUPLENTE ON DIASPERSONALES (ID_SUPLENTE);
CREATE INDEX IF NOT EXISTS IX_PREF_IMPRESION_ID_SERVICIO ON PREF_IMPRESION (ID_SERVICIO);
-- For loading a month at once: the rows of a span of days, and each worker's reference
-- assignments up to the end of a year.
CREATE INDEX IF NOT EXISTS IX_ASIG_TURNOS_PERSONAL_DIA ON ASIG_TURNOS (ID_PERSONAL, DIA_REF);
-- The assignments dated from a day on, whoever they are for (the checker's days after a
-- month).
CREATE INDEX IF NOT EXISTS IX_ASIG_TURNOS_DIA_REF ON ASIG_TURNOS (DIA_REF);
CREATE INDEX IF NOT EXISTS IX_EXCEPCIONES_DIA ON EXCEPCIONES (DIA);
CREATE INDEX IF NOT EXISTS IX_VACACIONES_FINAL ON VACACIONES (FINAL);
CREATE INDEX IF NOT EXISTS IX_BAJAS_FINAL ON BAJAS (FINAL);
CREATE INDEX IF NOT EXISTS IX_DIASPERSONALES_INICIO ON DIASPERSONALES (INICIO);
-- Leave periods by length class (the digits of a quarter of their days: up to 40, 400,
-- 4000, 40000 days, longer; none when the dates are in a form julianday() does not read)
-- and start day, so the periods that touch a month are found among the starts that can
-- reach it, however long the history. Only built-in functions, so any SQLite can write
-- these tables. The expressions are the roster engine's own (DvFechasSql::ClaseDuracion
-- and DiaJuliano), character for character.
CREATE INDEX IF NOT EXISTS IX_VACACIONES_DURACION ON VACACIONES (length(CAST(CAST(((CASE typeof(FINAL) WHEN 'text' THEN CASE WHEN substr(FINAL,5,1) IN ('-','/') THEN julianday(replace(FINAL,'/','-')) END ELSE FINAL + 2415018.5 END) - (CASE typeof(INICIO) WHEN 'text' THEN CASE WHEN substr(INICIO,5,1) IN ('-','/') THEN julianday(replace(INICIO,'/','-')) END ELSE INICIO + 2415018.5 END)) / 4 AS INTEGER) AS TEXT)), (CASE typeof(INICIO) WHEN 'text' THEN CASE WHEN substr(INICIO,5,1) IN ('-','/') THEN julianday(replace(INICIO,'/','-')) END ELSE INICIO + 2415018.5 END));
CREATE INDEX IF NOT EXISTS IX_BAJAS_DURACION ON BAJAS (length(CAST(CAST(((CASE typeof(FINAL) WHEN 'text' THEN CASE WHEN substr(FINAL,5,1) IN ('-','/') THEN julianday(replace(FINAL,'/','-')) END ELSE FINAL + 2415018.5 END) - (CASE typeof(INICIO) WHEN 'text' THEN CASE WHEN substr(INICIO,5,1) IN ('-','/') THEN julianday(replace(INICIO,'/','-')) END ELSE INICIO + 2415018.5 END)) / 4 AS INTEGER) AS TEXT)), (CASE typeof(INICIO) WHEN 'text' THEN CASE WHEN substr(INICIO,5,1) IN ('-','/') THEN julianday(replace(INICIO,'/','-')) END ELSE INICIO + 2415018.5 END));
