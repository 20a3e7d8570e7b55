#!/usr/bin/env python3
"""Reads stimuli.tsv back with the standard csv module and checks sampled rows against the study.

usage: check_stimuli_tsv.py STIMULI.TSV STUDY.sqlite SAMPLES

The rows follow the study's stimuli ordered by subject and stimulus id. Every row must be one line;
the sample takes every row whose notes hold a tab, a quote, a line break or a backslash (up to half
the sample) and random rows for the rest.
"""
import csv
import random
import sqlite3
import sys

COLUMNS = ("subject_id experiment cell row column answer colour brightness coil pulse_type phase orientation "
           "pulses frequency intensity datetime observations drawing_points drawing_strokes drawing_centre_x "
           "drawing_centre_y drawing_left drawing_top drawing_right drawing_bottom drawing_area").split()
COILS = {1: "Magstim en ocho", 2: "Magstim Redonda", 3: "Cadwell en ocho"}
PULSES = {1: "Single", 2: "Repetitive", 3: "Two"}
PHASES = {1: "Monofásico", 2: "Bifáisco"}
ORIENTATIONS = {0: "Left-Right", 1: "Right-Left", 2: "Down-Up", 3: "Up-Down"}
ANSWERS = {0: "yes", 1: "no", 2: "doubt"}


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}[text[i + 1]])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def text(value):
    return "" if value is None else str(value)


def caption(table, value):
    return "" if value is None else table.get(value, str(value))


def expected(row):
    (subject, experiment, fila, columna, centre_row, centre_column, answer, colour, brightness, coil, pulse_type,
     phase, orientation, pulses, frequency, intensity, date, notes, points) = row
    cell = ""
    if None not in (fila, columna, centre_row, centre_column):
        r, c = fila + centre_row, columna + centre_column
        if 0 <= r < 5 and 0 <= c < 10:
            cell = str(10 * r + c)
    values = [text(subject), text(experiment), cell, text(fila), text(columna), caption(ANSWERS, answer),
              text(colour), text(brightness), caption(COILS, coil), caption(PULSES, pulse_type),
              caption(PHASES, phase), caption(ORIENTATIONS, orientation), text(pulses), text(frequency),
              text(intensity), "" if date is None else str(date).replace(" ", "T"), text(notes)]
    if points is None:
        return values + [""] * 9
    numbers = [int(n) for n in points.replace(",", " ").split()]
    records = [numbers[i:i + 3] for i in range(1, len(numbers) - 2, 3)]
    xs, ys = [r[1] for r in records], [r[2] for r in records]
    return values + [str(len(records)), None, None, None, str(min(xs)), str(min(ys)), str(max(xs)), str(max(ys)),
                     None]


def main():
    tsv, study, samples = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(tsv, encoding="utf-8", newline="") as f:
        raw_lines = f.read().split("\n")
    with open(tsv, encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f, delimiter="\t"))
    problems = []
    if rows[0] != COLUMNS:
        problems.append(f"header {rows[0]}")
    body = rows[1:]
    if len(raw_lines) != len(rows) + 1 or raw_lines[-1] != "":
        problems.append(f"{len(raw_lines) - 1} lines for {len(rows)} rows")
    db = sqlite3.connect(study)
    stimuli = db.execute("SELECT COUNT(*) FROM estimulo").fetchone()[0]
    if len(body) != stimuli:
        problems.append(f"{len(body)} rows for {stimuli} stimuli")
    truth = db.execute(
        "SELECT p.Id_paciente, e.pasada, p.fila, p.columna, s.FilaCentro, s.ColumnaCentro, e.hayfosfeno, e.color, "
        "e.intensidad, e.TipoBobina, e.PulsoTipo, e.PulsoFase, e.orientacion, e.NumeroPulsos, e.PulsoFrecuencia, "
        "e.PulsoIntensidad, e.fecha, e.observaciones, d.points FROM estimulo e "
        "LEFT JOIN puntoestimulacion p ON p.ID = e.id_puntoestimulo LEFT JOIN paciente s ON s.ID = p.Id_paciente "
        "LEFT JOIN drawing d ON d.stimulus_id = e.id ORDER BY p.Id_paciente IS NULL, p.Id_paciente, e.id").fetchall()
    hard = [i for i, t in enumerate(truth) if any(ch in text(t[17]) for ch in '\t"\n\r\\')]
    rng = random.Random(7)
    chosen = set(rng.sample(hard, min(len(hard), samples // 2)))
    chosen |= set(rng.sample(range(len(truth)), min(len(truth), samples - len(chosen))))
    for i in sorted(chosen):
        if i >= len(body):
            continue
        got = body[i]
        if len(got) != len(COLUMNS):
            problems.append(f"row {i + 1}: {len(got)} fields")
            continue
        got = [unescape(v) for v in got]
        for name, want, have in zip(COLUMNS, expected(truth[i]), got):
            if want is not None and want != have:
                problems.append(f"row {i + 1}, {name}: {have!r} instead of {want!r}")
    for p in problems[:20]:
        print(p)
    if problems:
        return 1
    print(f"{len(body)} rows, {len(chosen)} checked ({len(set(hard) & chosen)} with tabs, quotes or breaks)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
