"""Reading C++ sources far enough to follow text through them: tokens, the
functions, structs and named constants of a source tree, and the statements
of a function body. Used by tools/log_lines.py; standard library only."""

import dataclasses
import os
import re


class ExtractionError(Exception):
    """Something in the sources that cannot be followed; names file and line."""


# --- tokens ------------------------------------------------------------------

TOKEN = re.compile(
    r"""(?P<space>\s+)
      | (?P<comment>//[^\n]*|/\*.*?\*/)
      | (?P<raw>(?:u8|[uUL])?R"(?P<delim>[^()\\\s]{0,16})\((?P<body>.*?)\)(?P=delim)")
      | (?P<str>(?:u8|[uUL])?"(?:[^"\\\n]|\\.)*")
      | (?P<chr>(?:u8|[uUL])?'(?:[^'\\\n]|\\.)+')
      | (?P<num>\.?\d(?:[eEpP][+-]|[\w.']|)*)
      | (?P<id>[A-Za-z_]\w*)
      | (?P<punct>::|->|\.\.\.|<<=|>>=|[-+*/%&|^!=<>]=|&&|\|\||\+\+|--|<<|>>|\S)""",
    re.S | re.X,
)
ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "0": "\0", "\\": "\\", '"': '"', "'": "'", "?": "?", "a": "\a"}


@dataclasses.dataclass
class Token:
    kind: str  # id, num, str, chr, punct
    text: str
    line: int
    value: str = ""  # decoded text of a str or chr token


def decode(literal):
    body = literal[literal.index(literal[-1]) + 1 : -1]
    return re.sub(r"\\(x[0-9a-fA-F]+|[0-7]{1,3}|.)", lambda m: unescape(m.group(1)), body)


def unescape(code):
    if code[0] == "x":
        return chr(int(code[1:], 16))
    if code[0] in "01234567" and code != "0":
        return chr(int(code, 8))
    return ESCAPES.get(code, code)


def tokenize(text):
    """The tokens of a source text, and its preprocessor lines as (line, text).
    Preprocessor lines are blanked, so line numbers stay."""
    lines, directives, continued = text.split("\n"), [], False
    for n, line in enumerate(lines):
        if continued or line.lstrip().startswith("#"):
            directives.append((n + 1, line))
            continued = line.endswith("\\")
            lines[n] = ""
    text = "\n".join(lines)
    tokens, line, at = [], 1, 0
    while at < len(text):
        m = TOKEN.match(text, at)
        kind = m.lastgroup if m.lastgroup not in ("delim", "body") else "raw"
        if kind == "raw":
            tokens.append(Token("str", m.group(), line, m.group("body")))
        elif kind in ("str", "chr"):
            tokens.append(Token(kind, m.group(), line, decode(m.group())))
        elif kind not in ("space", "comment"):
            tokens.append(Token(kind, m.group(), line))
        line += m.group().count("\n")
        at = m.end()
    return tokens, directives


OPEN = {"(": ")", "[": "]", "{": "}"}


def close_of(toks, i):
    """Index of the bracket that closes the one at toks[i]."""
    depth = 0
    for j in range(i, len(toks)):
        if toks[j].text in OPEN:
            depth += 1
        elif toks[j].text in (")", "]", "}"):
            depth -= 1
            if depth == 0:
                return j
    raise ExtractionError(f"line {toks[i].line}: unbalanced '{toks[i].text}'")


def split_top(toks, start, end, sep):
    """Token ranges between the top-level `sep` tokens of toks[start:end]."""
    parts, depth, first = [], 0, start
    for j in range(start, end):
        t = toks[j].text
        if t in OPEN:
            depth += 1
        elif t in (")", "]", "}"):
            depth -= 1
        elif t == sep and depth == 0:
            parts.append((first, j))
            first = j + 1
    if first < end or parts:
        parts.append((first, end))
    return parts


# --- a source tree: functions, structs, constants ------------------------------


@dataclasses.dataclass
class Function:
    name: str
    file: "Source"
    params: list  # (name or None, type tokens text, default range or None)
    body: tuple  # token range inside the braces
    returns: str  # last name of the return type


@dataclasses.dataclass
class Struct:
    members: list  # (name, type text)
    lists: list = dataclasses.field(default_factory=list)  # (source, range of a braced list)


class Source:
    def __init__(self, path, rel):
        self.rel = rel
        with open(path, encoding="utf-8") as f:
            self.toks, self.directives = tokenize(f.read())


KEYWORDS = {"const", "constexpr", "static", "inline", "volatile", "mutable", "struct", "class", "unsigned",
            "signed", "typename", "auto", "return", "true", "false", "nullptr", "this", "sizeof", "new",
            "delete", "static_cast", "reinterpret_cast", "const_cast", "dynamic_cast", "operator", "noexcept"}
CONTROL = {"if", "for", "while", "switch", "do", "try", "return", "break", "continue", "case", "default", "else",
           "goto", "catch", "throw"}


class Program:
    """The parsed sources under one folder."""

    def __init__(self, src_dir):
        self.root = os.path.dirname(os.path.abspath(src_dir))
        self.sources = []
        for folder, _, names in sorted(os.walk(src_dir)):
            for name in sorted(names):
                if name.endswith((".cpp", ".h")):
                    path = os.path.join(folder, name)
                    self.sources.append(Source(path, os.path.relpath(path, self.root)))
        self.functions, self.structs, self.constants = {}, {}, {}
        for src in self.sources:
            self._scan_scope(src, 0, len(src.toks))
            self._scan_structs(src)
        for src in self.sources:
            self._find_lists(src)

    def functions_named(self, name):
        return self.functions.get(name, [])

    # Declarations at namespace and class scope.
    def _scan_scope(self, src, i, end):
        toks = src.toks
        while i < end:
            j, ctor = i, False
            while j < end and toks[j].text not in (";", "{"):
                if toks[j].text in ("(", "["):
                    j = close_of(toks, j)
                    if toks[j].text == ")" and j + 1 < end and toks[j + 1].text == ":":
                        ctor = True
                elif ctor and toks[j].text == "{" and toks[j - 1].kind == "id":
                    j = close_of(toks, j)
                j += 1
            if j >= end:
                return
            head = [t.text for t in toks[i:j]]
            if toks[j].text == ";":
                self._constant(src, i, j)
                i = j + 1
                continue
            stop = close_of(toks, j)
            if head[:1] == ["namespace"] or head[:2] == ["inline", "namespace"] or head[:2] == ["extern", '"C"']:
                self._scan_scope(src, j + 1, stop)
            elif head and head[0] in ("struct", "class", "union") and "(" not in head and "=" not in head:
                self._scan_scope(src, j + 1, stop)
                while stop < end and toks[stop].text != ";":
                    stop += 1
            elif "enum" in head or "=" in self._top_level(toks, i, j):
                self._constant(src, i, stop + 1 if toks[stop + 1].text == ";" else stop)
                while stop < end and toks[stop].text != ";":
                    stop += 1
            elif "(" in head:
                self._function(src, i, j, stop)
            i = stop + 1

    @staticmethod
    def _top_level(toks, i, j):
        out, depth = [], 0
        for t in toks[i:j]:
            if t.text in OPEN:
                depth += 1
            elif t.text in (")", "]", "}"):
                depth -= 1
            elif depth == 0:
                out.append(t.text)
        return out

    def _constant(self, src, i, j):
        toks = src.toks
        eq = next((k for k in range(i, j) if toks[k].text == "=" and self._depth(toks, i, k) == 0), None)
        if eq is None:
            return
        k = eq - 1
        if toks[k].text == "]":
            while toks[k].text != "[":
                k -= 1
            k -= 1
        if toks[k].kind == "id":
            self.constants.setdefault(toks[k].text, []).append((src, (eq + 1, j - 1 if toks[j - 1].text == ";" else j)))

    @staticmethod
    def _depth(toks, i, k):
        depth = 0
        for t in toks[i:k]:
            depth += t.text in OPEN
            depth -= t.text in (")", "]", "}")
        return depth

    def _function(self, src, i, brace, stop):
        toks = src.toks
        k = i
        while toks[k].text != "(":
            k += 1
        if toks[k - 1].kind != "id" or toks[k - 2].text == "operator":
            return
        name = toks[k - 1].text
        close = close_of(toks, k)
        params = []
        for a, b in split_top(toks, k + 1, close, ","):
            eq = next((p for p in range(a, b) if toks[p].text == "="), b)
            ids = [p for p in range(a, eq) if toks[p].kind == "id" and toks[p].text not in KEYWORDS]
            pname = toks[ids[-1]].text if len(ids) > 1 and toks[ids[-1] - 1].text not in ("::",) else None
            ptype = " ".join(t.text for t in toks[a:eq])
            params.append((pname, ptype, (eq + 1, b) if eq < b else None))
        if params == [(None, "void", None)]:
            params = []
        ret = [t.text for t in toks[i : k - 1] if t.kind == "id" and t.text not in KEYWORDS]
        fn = Function(name, src, params, (brace + 1, stop), ret[-1] if ret else "")
        self.functions.setdefault(name, []).append(fn)

    # Struct definitions anywhere (local ones too), with their data members.
    def _scan_structs(self, src):
        toks = src.toks
        for i, t in enumerate(toks):
            if t.text not in ("struct", "class") or (i and toks[i - 1].text == "enum"):
                continue
            j = i + 1
            name = toks[j].text if toks[j].kind == "id" else None
            while j < len(toks) and toks[j].text not in ("{", ";", "(", ")", ">", ","):
                j += 1
            if j >= len(toks) or toks[j].text != "{":
                continue
            stop = close_of(toks, j)
            members, a = [], j + 1
            while a < stop:
                b = a
                while b < stop and toks[b].text not in (";", "{"):
                    if toks[b].text in ("(", "["):
                        b = close_of(toks, b)
                    b += 1
                if b < stop and toks[b].text == "{":
                    b = close_of(toks, b) + 1
                    if b < stop and toks[b].text == ";":
                        b += 1
                    a = b
                    continue
                decl = toks[a:b]
                words = [x.text for x in decl]
                if decl and "(" not in words and not set(words) & {"static", "using", "friend", "enum", "typedef"}:
                    for x, y in split_top(toks, a, b, ","):
                        eq = next((p for p in range(x, y) if toks[p].text in ("=", "{")), y)
                        ids = [p for p in range(x, eq) if toks[p].kind == "id"]
                        if ids:
                            ptype = " ".join(t.text for t in toks[a : ids[-1]] if t.text != ",")
                            members.append((toks[ids[-1]].text, ptype))
                a = b + 1
            struct = Struct(members)
            if name:
                self.structs.setdefault(name, []).append(struct)
            # "struct {...} name[] = {...};": the lists follow the body.
            rest = stop + 1
            while rest < len(toks) and toks[rest].text not in ("{", ";"):
                rest += 1
            if rest < len(toks) and toks[rest].text == "{":
                self._add_lists(struct, src, rest)
            if not name:
                self.structs.setdefault(None, []).append(struct)

    def _add_lists(self, struct, src, brace):
        toks = src.toks
        stop = close_of(toks, brace)
        parts = [(a, b) for a, b in split_top(toks, brace + 1, stop, ",") if a < b]
        inner = [(a, b) for a, b in parts if toks[a].text == "{" and close_of(toks, a) == b - 1]
        array = inner and len(inner) == len(parts)
        for a, b in inner if array else [(brace, stop + 1)]:
            struct.lists.append((src, (a + 1, b - 1)))

    # Braced lists that initialise a named struct.
    def _find_lists(self, src):
        toks = src.toks
        returning = {}
        for fns in self.functions.values():
            for fn in fns:
                if fn.file is src and fn.returns in self.structs:
                    returning[fn.body] = fn.returns
        for (a, b), sname in returning.items():
            for k in range(a, b):
                if toks[k].text == "return" and toks[k + 1].text == "{":
                    for struct in self.structs[sname]:
                        struct.lists.append((src, (k + 2, close_of(toks, k + 1))))
        for k, t in enumerate(toks):
            if t.kind != "id" or t.text not in self.structs:
                continue
            j = k + 1
            if toks[j].kind == "id":
                j += 1
                if toks[j].text == "[":
                    j = close_of(toks, j) + 1
                if toks[j].text == "=":
                    j += 1
            if toks[j].text == "{" and (j > k + 1 or toks[k - 1].text not in ("struct", "class")):
                for struct in self.structs[t.text]:
                    self._add_lists(struct, src, j)

    def function_at(self, src, index):
        for fns in self.functions.values():
            for fn in fns:
                if fn.file is src and fn.body[0] <= index < fn.body[1]:
                    return fn
        return None


# --- statements ----------------------------------------------------------------


@dataclasses.dataclass
class Stmt:
    kind: str  # block, if, switch, loop, try, return, break, decl, expr, label
    range: tuple
    parts: list = dataclasses.field(default_factory=list)


def parse_block(toks, i, end):
    stmts = []
    while i < end:
        stmt, i = parse_stmt(toks, i, end)
        if stmt:
            stmts.append(stmt)
    return stmts


def parse_stmt(toks, i, end):
    t = toks[i].text
    if t == ";":
        return None, i + 1
    if t == "{":
        stop = close_of(toks, i)
        return Stmt("block", (i, stop + 1), parse_block(toks, i + 1, stop)), stop + 1
    if t in ("case", "default"):
        j = i
        while toks[j].text != ":" or toks[j - 1].text == ":" or (j + 1 < end and toks[j + 1].text == ":"):
            j += 1
        return Stmt("label", (i, j + 1)), j + 1
    if t == "if":
        j = i + 1 + (toks[i + 1].text == "constexpr")
        close = close_of(toks, j)
        then, k = parse_stmt(toks, close + 1, end)
        other = None
        if k < end and toks[k].text == "else":
            other, k = parse_stmt(toks, k + 1, end)
        return Stmt("if", (i, k), [(j, close), then, other]), k
    if t == "switch":
        close = close_of(toks, i + 1)
        stop = close_of(toks, close + 1)
        return Stmt("switch", (i, stop + 1), parse_block(toks, close + 2, stop)), stop + 1
    if t in ("for", "while"):
        close = close_of(toks, i + 1)
        body, k = parse_stmt(toks, close + 1, end)
        return Stmt("loop", (i, k), [(i + 2, close), body]), k
    if t == "do":
        body, k = parse_stmt(toks, i + 1, end)
        close = close_of(toks, k + 1)
        return Stmt("loop", (i, close + 2), [None, body]), close + 2
    if t == "try":
        body, k = parse_stmt(toks, i + 1, end)
        handlers = [body]
        while k < end and toks[k].text == "catch":
            handler, k = parse_stmt(toks, close_of(toks, k + 1) + 1, end)
            handlers.append(handler)
        return Stmt("try", (i, k), handlers), k
    j = i
    while j < end and toks[j].text != ";":
        if toks[j].text in OPEN:
            j = close_of(toks, j)
        j += 1
    kind = "return" if t == "return" else "break" if t in ("break", "continue", "throw", "goto") else None
    if kind is None:
        kind = "decl" if is_declaration(toks, i, j) else "expr"
    return Stmt(kind, (i, j)), j + 1


def is_declaration(toks, i, j):
    """`type name ...` rather than an expression."""
    k, depth = i, 0
    while k < j:
        t = toks[k].text
        if t in ("(", "{", "=", "[") and depth == 0:
            break
        if t in ("+=", "-=", ".", "->", "++", "--") and depth == 0:
            return False
        depth += t == "<"
        depth -= t == ">" if depth else 0
        depth -= 2 if t == ">>" and depth >= 2 else 0
        k += 1
    name = k - 1
    if name <= i or toks[name].kind != "id" and toks[name].text != "]":
        return False
    if toks[name].text == "]":  # auto [a, b] = ... or T name[] = ...
        return True
    before = toks[name - 1]
    return before.kind == "id" and before.text not in CONTROL or before.text in (">", "*", "&", "&&")
