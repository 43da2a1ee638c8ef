-- Demonstration data: four hospital services and their staff, rotation patterns
-- that use every rule of the roster, holidays, leave and exceptions.
-- {F:m,d} is filled in when the file is made: day d of the month m months after the
-- current one (0 or less counts back from the month's last day), so the month in
-- which the file is made shows every kind of roster entry.

INSERT INTO FUNCIONES (ID, NOMBRE) VALUES
 (1, 'Urgencias'),
 (2, 'UCI'),
 (3, 'Quirófano'),
 (4, 'Pediatría');

INSERT INTO TIPOSTURNO (ID, NOMBRE) VALUES
 (1, 'Mañanas de lunes a viernes'),
 (2, 'Rotatorio mañana-tarde-noche'),
 (3, 'Turnos largos'),
 (4, 'Noches'),
 (5, 'Tardes de lunes a viernes');

-- Rest days lie on 23/04/2001, working shifts on 01/01/2005 (only the time counts).
INSERT INTO TURNOS (ID, NOMBRE, HORAINICIAL, HORAFINAL, ORDEN, ID_TIPOTURNO) VALUES
 (1, 'Mañana', '2005/01/01 08:00:00', '2005/01/01 15:00:00', 1, 1),
 (2, 'Mañana', '2005/01/01 08:00:00', '2005/01/01 15:00:00', 2, 1),
 (3, 'Mañana', '2005/01/01 08:00:00', '2005/01/01 15:00:00', 3, 1),
 (4, 'Mañana', '2005/01/01 08:00:00', '2005/01/01 15:00:00', 4, 1),
 (5, 'Mañana', '2005/01/01 08:00:00', '2005/01/01 15:00:00', 5, 1),
 (6, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 6, 1),
 (7, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 7, 1),
 (8, 'Mañana', '2005/01/01 08:00:00', '2005/01/01 15:00:00', 1, 2),
 (9, 'Mañana', '2005/01/01 08:00:00', '2005/01/01 15:00:00', 2, 2),
 (10, 'Tarde', '2005/01/01 15:00:00', '2005/01/01 22:00:00', 3, 2),
 (11, 'Tarde', '2005/01/01 15:00:00', '2005/01/01 22:00:00', 4, 2),
 (12, 'Noche', '2005/01/01 22:00:00', '2005/01/01 08:00:00', 5, 2),
 (13, 'Noche', '2005/01/01 22:00:00', '2005/01/01 08:00:00', 6, 2),
 (14, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 7, 2),
 (15, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 8, 2),
 (16, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 9, 2),
 (17, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 10, 2),
 (18, 'Día largo', '2005/01/01 08:00:00', '2005/01/01 22:00:00', 1, 3),
 (19, 'Tarde y noche', '2005/01/01 15:00:00', '2005/01/01 08:00:00', 2, 3),
 (20, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 3, 3),
 (21, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 4, 3),
 (22, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 5, 3),
 (23, 'Noche', '2005/01/01 22:00:00', '2005/01/01 08:00:00', 1, 4),
 (24, 'Noche', '2005/01/01 22:00:00', '2005/01/01 08:00:00', 2, 4),
 (25, 'Noche', '2005/01/01 22:00:00', '2005/01/01 08:00:00', 3, 4),
 (26, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 4, 4),
 (27, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 5, 4),
 (28, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 6, 4),
 (29, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 7, 4),
 (30, 'Tarde', '2005/01/01 15:00:00', '2005/01/01 22:00:00', 1, 5),
 (31, 'Tarde', '2005/01/01 15:00:00', '2005/01/01 22:00:00', 2, 5),
 (32, 'Tarde', '2005/01/01 15:00:00', '2005/01/01 22:00:00', 3, 5),
 (33, 'Tarde', '2005/01/01 15:00:00', '2005/01/01 22:00:00', 4, 5),
 (34, 'Tarde', '2005/01/01 15:00:00', '2005/01/01 22:00:00', 5, 5),
 (35, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 6, 5),
 (36, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 7, 5);

INSERT INTO PERSONAL (ID, NOMBRE, APELLIDOS, NOMBREPLANILLA, ID_FUNCION) VALUES
 (1, 'Lucía', 'Fernández Núñez', 'Lucía Fernández', 1),
 (2, 'Javier', 'Gómez Ibáñez', 'Javier Gómez', 1),
 (3, 'María José', 'Martínez Peña', 'María José Martínez', 1),
 (4, 'Álvaro', 'Sánchez Ortiz', 'Álvaro Sánchez', 1),
 (5, 'Begoña', 'Echeverría Salas', 'Begoña Echeverría', 1),
 (6, 'Íñigo', 'Aldekoa Muñoz', 'Íñigo Aldekoa', 1),
 (7, 'Nuria', 'Castaño Ruiz', 'Nuria Castaño', 1),
 (8, 'Sergio', 'Domínguez Vela', 'Sergio Domínguez', 1),
 (9, 'Ainhoa', 'Urrutia López', 'Ainhoa Urrutia', 1),
 (10, 'Raúl', 'Jiménez Arroyo', 'Raúl Jiménez', 1),
 (11, 'Marta', 'Beltrán Soto', 'Marta Beltrán', 1),
 (12, 'Óscar', 'Núñez de Prado', 'Óscar Núñez', 1),
 (13, 'Carmen', 'Ramírez Gil', 'Carmen Ramírez', 1),
 (14, 'Andrés', 'Peñalver Cruz', 'Andrés Peñalver', 1),
 (15, 'Rocío', 'Gutiérrez Olmo', 'Rocío Gutiérrez', 1),
 (16, 'Joaquín', 'Benítez Marín', 'Joaquín Benítez', 1),
 (17, 'Pilar', 'Cañizares Ríos', 'Pilar Cañizares', 1),
 (18, 'Adrián', 'Vázquez Lema', 'Adrián Vázquez', 1),
 (19, 'Sofía', 'Hernández Sáez', 'Sofía Hernández', 1),
 (20, 'Rubén', 'Muñoz Carrión', 'Rubén Muñoz', 1),
 (21, 'Elena', 'Rodríguez Calvo', 'Elena Rodríguez', 2),
 (22, 'Héctor', 'Ortega Piñeiro', 'Héctor Ortega', 2),
 (23, 'Inés', 'Chacón Alarcón', 'Inés Chacón', 2),
 (24, 'Tomás', 'Iglesias Mora', 'Tomás Iglesias', 2),
 (25, 'Montserrat', 'Serrano Puig', 'Montserrat Serrano', 2),
 (26, 'Jesús', 'Cortés Lozano', 'Jesús Cortés', 2),
 (27, 'Alba', 'Galán Herrero', 'Alba Galán', 2),
 (28, 'Víctor', 'Méndez Roldán', 'Víctor Méndez', 2),
 (29, 'Covadonga', 'Álvarez Quirós', 'Covadonga Álvarez', 2),
 (30, 'Ramón', 'Prieto Báez', 'Ramón Prieto', 2),
 (31, 'Irene', 'Molina Escrivá', 'Irene Molina', 2),
 (32, 'Gonzalo', 'Suárez Acuña', 'Gonzalo Suárez', 2),
 (33, 'Maite', 'Zubiri Larrañaga', 'Maite Zubiri', 2),
 (34, 'Julián', 'Caballero León', 'Julián Caballero', 2),
 (35, 'Noelia', 'Pérez Villar', 'Noelia Pérez', 2),
 (36, 'Fermín', 'Goñi Echarri', 'Fermín Goñi', 3),
 (37, 'Ángela', 'Díaz Montaño', 'Ángela Díaz', 3),
 (38, 'Iván', 'Rubio Carrasco', 'Iván Rubio', 3),
 (39, 'Leire', 'Etxeberria Sanz', 'Leire Etxeberria', 3),
 (40, 'Nicolás', 'Campos Luján', 'Nicolás Campos', 3),
 (41, 'Verónica', 'Morales Téllez', 'Verónica Morales', 3),
 (42, 'Agustín', 'Lozano Bermúdez', 'Agustín Lozano', 3),
 (43, 'Paula', 'Fuentes Ávila', 'Paula Fuentes', 3),
 (44, 'Ismael', 'Crespo Guzmán', 'Ismael Crespo', 3),
 (45, 'Araceli', 'Pastor Valdés', 'Araceli Pastor', 3),
 (46, 'Jonás', 'Medina Sáenz', 'Jonás Medina', 3),
 (47, 'Soledad', 'Navarro Orúe', 'Soledad Navarro', 3),
 (48, 'Germán', 'Herrera Espín', 'Germán Herrera', 3),
 (49, 'Lorena', 'Delgado Ferrán', 'Lorena Delgado', 3),
 (50, 'Ricardo', 'Román Quesada', 'Ricardo Román', 3),
 (51, 'Ana Belén', 'Santos Ferrer', 'Ana Belén Santos', 3),
 (52, 'Martín', 'Vidal Tejedor', 'Martín Vidal', 4),
 (53, 'Clara', 'Aguilar Solís', 'Clara Aguilar', 4),
 (54, 'Sebastián', 'Gallego Rivas', 'Sebastián Gallego', 4),
 (55, 'Remedios', 'Reyes Calleja', 'Remedios Reyes', 4),
 (56, 'Darío', 'Cano Ballester', 'Darío Cano', 4),
 (57, 'Yolanda', 'Moreno Lucas', 'Yolanda Moreno', 4),
 (58, 'Bruno', 'Blanco Ruano', 'Bruno Blanco', 4),
 (59, 'Eugenia', 'Garrido Sevilla', 'Eugenia Garrido', 4),
 (60, 'Félix', 'Castro Peláez', 'Félix Castro', 4),
 (61, 'Rosalía', 'Lorenzo Íñiguez', 'Rosalía Lorenzo', 4),
 (62, 'Guillermo', 'Pascual Nieto', 'Guillermo Pascual', 4),
 (63, 'Mercedes', 'Marín Cabello', 'Mercedes Marín', 4),
 (64, 'Hugo', 'Rojas Duarte', 'Hugo Rojas', 4);

-- Reference assignments on Monday 01/01/2024, staggered along each pattern so that
-- every shift is covered every day; the weekday patterns start on a Monday.
INSERT INTO ASIG_TURNOS (ID, ID_PERSONAL, DIA_REF, ID_TURNO) VALUES
 (1, 1, '2024/01/01 00:00:00', 8),
 (2, 2, '2024/01/01 00:00:00', 9),
 (3, 3, '2024/01/01 00:00:00', 10),
 (4, 4, '2024/01/01 00:00:00', 11),
 (5, 5, '2024/01/01 00:00:00', 12),
 (6, 6, '2024/01/01 00:00:00', 13),
 (7, 7, '2024/01/01 00:00:00', 14),
 (8, 8, '2024/01/01 00:00:00', 15),
 (9, 9, '2024/01/01 00:00:00', 16),
 (10, 10, '2024/01/01 00:00:00', 17),
 (11, 11, '2024/01/01 00:00:00', 18),
 (12, 12, '2024/01/01 00:00:00', 19),
 (13, 13, '2024/01/01 00:00:00', 20),
 (14, 14, '2024/01/01 00:00:00', 21),
 (15, 15, '2024/01/01 00:00:00', 22),
 (16, 16, '2024/01/01 00:00:00', 23),
 (17, 17, '2024/01/01 00:00:00', 24),
 (18, 18, '2024/01/01 00:00:00', 1),
 (19, 19, '2024/01/01 00:00:00', 2),
 (20, 20, '2024/01/01 00:00:00', 3),
 (21, 21, '2024/01/01 00:00:00', 18),
 (22, 22, '2024/01/01 00:00:00', 19),
 (23, 23, '2024/01/01 00:00:00', 20),
 (24, 24, '2024/01/01 00:00:00', 21),
 (25, 25, '2024/01/01 00:00:00', 22),
 (26, 26, '2024/01/01 00:00:00', 18),
 (27, 27, '2024/01/01 00:00:00', 19),
 (28, 28, '2024/01/01 00:00:00', 20),
 (29, 29, '2024/01/01 00:00:00', 21),
 (30, 30, '2024/01/01 00:00:00', 22),
 (31, 31, '2024/01/01 00:00:00', 8),
 (32, 32, '2024/01/01 00:00:00', 9),
 (33, 33, '2024/01/01 00:00:00', 10),
 (34, 34, '2024/01/01 00:00:00', 11),
 (35, 35, '2024/01/01 00:00:00', 12),
 (36, 36, '2024/01/01 00:00:00', 1),
 (37, 37, '2024/01/01 00:00:00', 2),
 (38, 38, '2024/01/01 00:00:00', 3),
 (39, 39, '2024/01/01 00:00:00', 4),
 (40, 40, '2024/01/01 00:00:00', 5),
 (41, 41, '2024/01/01 00:00:00', 6),
 (42, 42, '2024/01/01 00:00:00', 7),
 (43, 43, '2024/01/01 00:00:00', 1),
 (44, 44, '2024/01/01 00:00:00', 30),
 (45, 45, '2024/01/01 00:00:00', 31),
 (46, 46, '2024/01/01 00:00:00', 32),
 (47, 47, '2024/01/01 00:00:00', 33),
 (48, 48, '2024/01/01 00:00:00', 34),
 (49, 49, '2024/01/01 00:00:00', 23),
 (50, 50, '2024/01/01 00:00:00', 24),
 (51, 51, '2024/01/01 00:00:00', 25),
 (52, 52, '2024/01/01 00:00:00', 8),
 (53, 53, '2024/01/01 00:00:00', 9),
 (54, 54, '2024/01/01 00:00:00', 10),
 (55, 55, '2024/01/01 00:00:00', 11),
 (56, 56, '2024/01/01 00:00:00', 12),
 (57, 57, '2024/01/01 00:00:00', 13),
 (58, 58, '2024/01/01 00:00:00', 14),
 (59, 59, '2024/01/01 00:00:00', 15),
 (60, 60, '2024/01/01 00:00:00', 16),
 (61, 61, '2024/01/01 00:00:00', 17),
 (62, 62, '2024/01/01 00:00:00', 1),
 (63, 63, '2024/01/01 00:00:00', 2),
 (64, 64, '2024/01/01 00:00:00', 3),
 (65, 16, {F:-1,10}, 10);

-- National holidays recur every year (the year of DIA does not matter); the local
-- holiday applies on its one date, in the current month.
INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) VALUES
 (1, '2000/01/01 00:00:00', 'Año Nuevo', TRUE),
 (2, '2000/01/06 00:00:00', 'Epifanía del Señor', TRUE),
 (3, '2000/05/01 00:00:00', 'Fiesta del Trabajo', TRUE),
 (4, '2000/08/15 00:00:00', 'Asunción de la Virgen', TRUE),
 (5, '2000/10/12 00:00:00', 'Fiesta Nacional de España', TRUE),
 (6, '2000/11/01 00:00:00', 'Todos los Santos', TRUE),
 (7, '2000/12/06 00:00:00', 'Día de la Constitución', TRUE),
 (8, '2000/12/08 00:00:00', 'Inmaculada Concepción', TRUE),
 (9, '2000/12/25 00:00:00', 'Natividad del Señor', TRUE),
 (10, {F:0,19}, 'Fiesta local', FALSE);

-- Vacations with substitutes.
INSERT INTO VACACIONES (ID, ID_PERSONAL, INICIO, FINAL, ID_SUPLENTE) VALUES
 (1, 3, {F:0,3}, {F:0,16}, 19),
 (2, 24, {F:-1,20}, {F:0,5}, 35),
 (3, 40, {F:0,22}, {F:1,6}, 47),
 (4, 53, {F:0,10}, {F:0,20}, 63),
 (5, 8, {F:1,2}, {F:1,15}, 18);

-- Sick leave: one without a substitute (the worker simply drops out), one covered.
INSERT INTO BAJAS (ID, ID_PERSONAL, INICIO, FINAL, ID_SUPLENTE) VALUES
 (1, 6, {F:0,8}, {F:0,14}, -1),
 (2, 28, {F:0,12}, {F:0,25}, 34),
 (3, 58, {F:-1,25}, {F:0,4}, -1);

-- Personal days, with and without a substitute.
INSERT INTO DIASPERSONALES (ID, ID_PERSONAL, INICIO, ID_SUPLENTE) VALUES
 (1, 2, {F:0,5}, 20),
 (2, 11, {F:0,18}, -1),
 (3, 26, {F:0,24}, 33),
 (4, 44, {F:0,7}, -1),
 (5, 55, {F:0,27}, 64);

-- Exceptions: a worker taken off a day (TIPO 1) and workers added to a day with
-- hours of their own (TIPO 2), one of them for a long day that fills two periods.
INSERT INTO EXCEPCIONES (ID, DIA, ID_PERSONAL, TIPO, HORAINICIAL, HORAFINAL) VALUES
 (1, {F:0,9}, 1, 1, {F:0,9,08:00}, {F:0,9,15:00}),
 (2, {F:0,11}, 18, 2, {F:0,11,08:00}, {F:0,11,15:00}),
 (3, {F:0,15}, 37, 2, {F:0,15,08:00}, {F:0,15,22:00}),
 (4, {F:0,21}, 21, 1, {F:0,21,08:00}, {F:0,21,15:00}),
 (5, {F:0,23}, 60, 2, {F:0,23,15:00}, {F:0,23,22:00});

-- Roster options of two services; the others use the defaults (15, 16, landscape).
INSERT INTO PREF_IMPRESION (ID, ID_SERVICIO, TAM_FUENTE, ALTO_FILA, HORIZONTAL) VALUES
 (1, 1, 13, 15, TRUE),
 (2, 2, 16, 19, FALSE);
