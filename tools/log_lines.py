"""Every line the program can write to its logs, read from its C++ sources.

A log line is the argument of a call of a log writer (WRITERS). The argument
is evaluated symbolically into one or more templates: text the code spells
out, and <name> where a value goes in. The rules, in order:

- String and character literals are text; "+" joins; "c ? a : b" gives both
  (one template never takes the same condition both ways; a choice between
  two values is one value).
- A name is looked up as a local variable (its initialiser, then every "+=",
  "=", append() or clear() on the way to the call; if/else and the cases of a
  switch give one template each), then as a parameter (what every call site
  in src/ passes there), then as a named constant of the same file or of a
  header.
- A call of a function defined in src/ is followed into its return
  statements, with its parameters bound to the arguments.
- A member "x.m" is followed when x was initialised by a braced list, or
  when m is a "const char*" member of a struct: then every braced list that
  initialises that struct in src/ (a declaration, an array of them, or a
  "return {...}" of a function returning it) gives one template each.
- Anything else is a value, shown as <name>: the name the code gives it where
  it is used (the variable, the member, or the last name among a call's
  arguments). A value that passes through a conversion of the system (the
  code page conversions, for instance) is such a value too.
- In-place edits of a text (replace, substr, a loop over its characters) are
  not followed: a template shows the text as it was built. A text changed in
  a loop, or handed to a function that may change it, is a value. A "%s",
  "%S" or "%d" left in a text stands for a value filled in later: <value>.
- A switch without a default counts as covering its cases (the build warns
  of an enumeration value left out). Conditions are not judged otherwise, so
  every combination the code spells out is listed, also one that the
  program's state never reaches. A message with no text at all (a blank line)
  is not listed.

A formatting writer (FORMAT_WRITERS) takes printf's arguments: its first
argument is evaluated as above, and each conversion in it ("%08lX", "%s",
...) becomes a value named after the argument that fills it (the last name
in that argument); "%%" is a "%".

What cannot be followed stops the extraction with the file and line: a
writer named other than in a direct call, a writer in a macro, a call inside
a lambda or braced list or outside a function, a "const char*" member no
braced list initialises, unbalanced brackets, a chain of calls deeper than
MAX_DEPTH, more than MAX_TEMPLATES templates for one value, or a file opened
for appending outside the writers (a new log this tool does not know).
"""

import dataclasses
import re

from cxx_reader import (KEYWORDS, OPEN, ExtractionError, Function, Program, Source, Stmt, close_of, parse_block,
                        split_top)

WRITERS = {"writeTicketLog": "Vandrel.log", "writeFeedbackLog": "Feedback.log",
           "writeTicketLogAfterCrash": "Vandrel.log"}
FORMAT_WRITERS = {"writeTicketLogAfterCrash"}
CONVERSION = re.compile(r"%%|%[-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|j|z|t|L)?[diouxXeEfgGaAcsp]")
MAX_DEPTH = 12
MAX_TEMPLATES = 64


# --- values --------------------------------------------------------------------


@dataclasses.dataclass(frozen=True)
class Hole:
    name: str = None


# A value is a list of alternatives; each alternative is (pieces, assumptions):
# its text and holes, and the conditions "c ? a : b" took on its way, so that
# one template never takes the same condition both ways.
def join(pieces):
    out = []
    for p in pieces:
        if out and isinstance(p, str) and isinstance(out[-1], str):
            out[-1] += p
        elif p != "":
            out.append(p)
    return tuple(out)


def TEXT(text):  # noqa: N802
    return [(join((text,)), frozenset())]


def VALUE(name=None):  # noqa: N802
    return [((Hole(name),), frozenset())]


def consistent(a, b):
    return not any((cond, not way) in b for cond, way in a)


def concat(a, b):
    return dedupe([(join(x + y), p | q) for x, p in a for y, q in b if consistent(p, q)])


def assume(alts, condition, way):
    return [(x, p | {(condition, way)}) for x, p in alts if (condition, not way) not in p]


def dedupe(alts):
    out = list(dict.fromkeys(alts))
    # A value may be empty: an empty alternative beside a bare value adds nothing.
    if any(len(x) == 1 and isinstance(x[0], Hole) for x, _ in out):
        out = [(x, p) for x, p in out if x != ()]
    if len(out) > MAX_TEMPLATES:
        raise ExtractionError(f"more than {MAX_TEMPLATES} templates for one value")
    return out


def has_text(alts):
    return any(isinstance(piece, str) for x, _ in alts for piece in x)


def named(alts, name):
    """A value with no text of its own takes the name it is used under."""
    if alts and not has_text(alts):
        return VALUE(name)
    return [(tuple(Hole(name) if isinstance(h, Hole) and h.name is None else h for h in x), p) for x, p in alts]


@dataclasses.dataclass
class Frame:
    fn: Function  # None for a constant's initialiser
    src: Source
    env: dict
    depth: int
    run: object = dataclasses.field(default_factory=object)  # one activation of the function


TRANSPARENT = {"string", "string_view", "wstring", "wstring_view", "move", "forward", "as_const"}
NOT_TEXT = {"=", "==", "!=", "<", ">", "<=", ">=", "&&", "||", "|", "&", "^", "<<", ">>", "-", "*", "/", "%",
            "-=", "*=", "/=", "|=", "&=", "<<=", ">>="}


class Evaluator:
    def __init__(self, program):
        self.program = program
        self.resolving = set()

    def fail(self, src, index, what):
        raise ExtractionError(f"{src.rel}:{src.toks[index].line}: {what}")

    # Expressions.
    def eval(self, frame, a, b):
        toks = frame.src.toks
        while a < b and toks[a].text == "(" and close_of(toks, a) == b - 1:
            a, b = a + 1, b - 1
        if a >= b:
            return TEXT("")
        depth, question = 0, None
        for k in range(a, b):
            t = toks[k].text
            depth += t in OPEN
            depth -= t in (")", "]", "}")
            if depth == 0 and t == "?":
                question = k
                break
        if question is not None:
            colon, nested = None, 0
            for k in range(question + 1, b):
                t = toks[k].text
                depth += t in OPEN
                depth -= t in (")", "]", "}")
                if depth == 0 and t == "?":
                    nested += 1
                elif depth == 0 and t == ":":
                    if nested == 0:
                        colon = k
                        break
                    nested -= 1
            condition = (id(frame.run), " ".join(t.text for t in toks[a:question]))
            left, right = self.eval(frame, question + 1, colon), self.eval(frame, colon + 1, b)
            if not has_text(left) and not has_text(right):  # one value either way
                return VALUE(next((x[0].name for x, _ in left + right if x), None))
            return dedupe(assume(left, condition, True) + assume(right, condition, False))
        operands, depth, first = [], 0, a
        for k in range(a, b):
            t = toks[k].text
            if t in OPEN:
                depth += 1
            elif t in (")", "]", "}"):
                depth -= 1
            elif depth == 0 and k > first and (toks[k - 1].kind != "punct" or toks[k - 1].text in (")", "]", "}")):
                if t in NOT_TEXT:
                    return VALUE()
                if t == "+":
                    operands.append((first, k))
                    first = k + 1
        operands.append((first, b))
        result = TEXT("")
        for x, y in operands:
            result = concat(result, self.operand(frame, x, y))
        return result

    def operand(self, frame, a, b):
        toks = frame.src.toks
        t = toks[a]
        if t.text == "*":
            return self.operand(frame, a + 1, b)
        if t.kind == "str" or t.kind == "chr":
            k = a
            while k < b and toks[k].kind in ("str", "chr"):
                k += 1
            text = "".join(x.value for x in toks[a:k])
            return TEXT(text) if k == b else VALUE()
        if t.text == "nullptr":
            return []
        if t.text == "{":
            parts = split_top(toks, a + 1, b - 1, ",")
            return TEXT("") if not parts else self.eval(frame, *parts[0]) if len(parts) == 1 else VALUE()
        if t.text == "(" and close_of(toks, a) == b - 1:
            return self.eval(frame, a + 1, b - 1)
        if t.kind != "id":
            return VALUE()
        # A qualified name, then calls, members and indexes.
        k = a
        while k + 2 < b and toks[k + 1].text == "::" and toks[k + 2].kind == "id":
            k += 2
        qualified = [x.text for x in toks[a : k + 1] if x.text != "::"]
        name = qualified[-1]
        k += 1
        if k < b and toks[k].text == "<":  # template arguments of a call
            return VALUE(name)
        if k < b and toks[k].text == "(":
            close = close_of(toks, k)
            value = self.call(frame, qualified, k, close)
            k = close + 1
        else:
            value = self.name(frame, name, a)
        base = name
        while k < b:
            op = toks[k].text
            if op in (".", "->") and toks[k + 1].kind == "id":
                member = toks[k + 1].text
                k += 2
                if k < b and toks[k].text == "(":
                    k = close_of(toks, k) + 1
                    if member in ("c_str", "data", "substr"):  # substr: an edit that may shorten it
                        continue
                    value = VALUE(base)
                else:
                    value = self.member(frame, base if k - 2 == a + 1 else None, member, a)
                    base = member
            elif op == "[":
                k = close_of(toks, k) + 1
                value = VALUE(base)
            else:
                return VALUE(base)
        return value

    def name(self, frame, name, index):
        if name in frame.env:
            return named(self.force(frame.env[name], frame.depth), name)
        if frame.fn:
            for n, p in enumerate(frame.fn.params):
                if p[0] == name:
                    return named(self.callers(frame.fn, n, frame.depth), name)
        # A constant of this file, else of a header: a source file's own
        # constants are not seen from another.
        found = self.program.constants.get(name, [])
        same = [c for c in found if c[0] is frame.src] or [c for c in found if c[0].rel.endswith(".h")]
        if same:
            alts = []
            for src, (x, y) in same:
                alts += self.eval(Frame(None, src, {}, frame.depth + 1), x, y)
            return named(dedupe(alts), name)
        return VALUE(name)

    def member(self, frame, base, member, index):
        binding = frame.env.get(base) if base else None
        if binding and binding[0] == "brace":
            _, sname, src, ranges = binding
            for struct in self.program.structs.get(sname, []):
                names = [m[0] for m in struct.members]
                if member in names:
                    alts = []
                    for x, y in ranges:
                        elements = split_top(src.toks, x, y, ",")
                        slot = names.index(member)
                        if slot < len(elements):
                            alts += self.eval(Frame(None, src, {}, frame.depth + 1), *elements[slot])
                    return named(dedupe(alts), member)
        texts = [s for ss in self.program.structs.values() for s in ss
                 if any(m == member and re.fullmatch(r"const char \*", t) for m, t in s.members)]
        if not texts:
            return VALUE(member)
        alts = []
        for struct in texts:
            slot = [m[0] for m in struct.members].index(member)
            if not struct.lists:
                self.fail(frame.src, index, f"no braced list initialises the text member '{member}'")
            for src, (x, y) in struct.lists:
                elements = split_top(src.toks, x, y, ",")
                if slot < len(elements):
                    alts += self.eval(Frame(self.program.function_at(src, x), src, {}, frame.depth + 1),
                                      *elements[slot])
        return named(dedupe(alts), member)

    def call(self, frame, qualified, open_, close):
        toks = frame.src.toks
        args = [r for r in split_top(toks, open_ + 1, close, ",") if r[0] < r[1]]
        name = qualified[-1]
        label = call_label(toks, open_, close) or name
        if qualified[0] == "std":
            if name in TRANSPARENT and len(args) == 1:
                return self.eval(frame, *args[0])
            return VALUE(label)
        fns = [f for f in self.program.functions_named(name) if arity_fits(f, len(args))]
        if not fns or frame.depth >= MAX_DEPTH:
            if fns:
                self.fail(frame.src, open_, f"calls deeper than {MAX_DEPTH} cannot be followed")
            return VALUE(label)
        alts = []
        for fn in fns:
            env = {}
            for n, (pname, _, default) in enumerate(fn.params):
                if pname and n < len(args):
                    env[pname] = ("expr", frame, args[n])
                elif pname and default:
                    env[pname] = ("expr", Frame(fn, fn.file, {}, frame.depth + 1), default)
            callee = Frame(fn, fn.file, env, frame.depth + 1)
            for binding in Runner(self, callee).returns():
                alts += self.force(binding, frame.depth + 1)
        return named(dedupe(alts), label)

    def callers(self, fn, n, depth):
        """What the call sites of `fn` in the sources pass as its n-th parameter."""
        key = (id(fn), n)
        if key in self.resolving:  # a parameter handed round in a circle
            return VALUE()
        if depth >= MAX_DEPTH:
            raise ExtractionError(f"{fn.file.rel}: the callers of {fn.name} lie deeper than {MAX_DEPTH} calls")
        self.resolving.add(key)
        try:
            alts, sites = [], 0
            for src in self.program.sources:
                toks = src.toks
                for k, t in enumerate(toks):
                    if t.text != fn.name or k + 1 >= len(toks) or toks[k + 1].text != "(":
                        continue
                    caller = self.program.function_at(src, k)
                    if caller is None or (caller.body[0] > k):
                        continue
                    close = close_of(toks, k + 1)
                    args = [r for r in split_top(toks, k + 2, close, ",") if r[0] < r[1]]
                    if not arity_fits(fn, len(args)) or n >= len(args):
                        continue
                    sites += 1
                    at = Frame(caller, src, params_unbound(caller), depth + 1)
                    for env in Runner(self, at).envs_at(k):
                        alts += self.eval(Frame(caller, src, env, depth + 1, at.run), *args[n])
            return dedupe(alts) if sites else VALUE()
        finally:
            self.resolving.discard(key)

    def force(self, binding, depth):
        kind = binding[0]
        if kind == "expr":
            frame, (a, b) = binding[1], binding[2]
            return self.eval(frame, a, b)
        if kind == "concat":
            return concat(self.force(binding[1], depth), self.force(binding[2], depth))
        if kind == "union":
            return dedupe(self.force(binding[1], depth) + self.force(binding[2], depth))
        if kind == "param":
            return self.callers(binding[1], binding[2], depth)
        if kind == "text":
            return TEXT(binding[1])
        return VALUE()  # "value", "brace" used whole


def arity_fits(fn, count):
    required = sum(1 for p in fn.params if p[2] is None)
    return required <= count <= len(fn.params)


def params_unbound(fn):
    return {p[0]: ("param", fn, n) for n, p in enumerate(fn.params) if p[0]}


def call_label(toks, open_, close):
    """The last name among a call's arguments that is no function or type."""
    label = None
    for k in range(open_ + 1, close):
        t = toks[k]
        nxt = toks[k + 1].text if k + 1 < close else ""
        if t.kind == "id" and t.text not in KEYWORDS and nxt not in ("(", "::", "<"):
            label = t.text
    return label


# --- running a function body ---------------------------------------------------


class Runner:
    """Runs a function body over bindings of its names to values."""

    def __init__(self, evaluator, frame):
        self.ev, self.frame = evaluator, frame
        self.toks = frame.src.toks
        self.found_returns, self.found_envs, self.target = [], [], None
        self.breaks = []  # per enclosing switch or loop: the bindings at each break

    def returns(self):
        a, b = self.frame.fn.body
        self.block(parse_block(self.toks, a, b), dict(self.frame.env))
        return self.found_returns

    def envs_at(self, index):
        self.target = index
        a, b = self.frame.fn.body
        self.block(parse_block(self.toks, a, b), dict(self.frame.env))
        return self.found_envs or [dict(self.frame.env)]

    def here(self, env):
        return Frame(self.frame.fn, self.frame.src, env, self.frame.depth, self.frame.run)

    def holds_target(self, stmt):
        return self.target is not None and stmt.range[0] <= self.target < stmt.range[1]

    def block(self, stmts, env):
        """The bindings after the statements; None when every path left."""
        for stmt in stmts:
            if env is None:
                return None
            env = self.stmt(stmt, env)
        return env

    def stmt(self, s, env):
        if self.holds_target(s) and s.kind in ("decl", "expr", "return", "break", "label"):
            self.found_envs.append(dict(env))
        if s.kind == "block":
            inner = self.block(s.parts, dict(env))
            return None if inner is None else {k: inner.get(k, v) for k, v in env.items()}
        if s.kind == "if":
            if self.holds_target(s) and s.parts[0][0] <= self.target < s.parts[0][1]:
                self.found_envs.append(dict(env))
            then = self.stmt(s.parts[1], dict(env)) if s.parts[1] else env
            other = self.stmt(s.parts[2], dict(env)) if s.parts[2] else env
            return merge(then, other)
        if s.kind == "switch":
            return self.switch(s, env)
        if s.kind == "loop":
            changed = assigned_names(self.toks, *s.range)
            env = {k: (("value",) if k in changed else v) for k, v in env.items()}
            header = s.parts[0]
            if header and any(self.toks[k].text == ":" and self.toks[k - 1].text != ":" and
                              self.toks[k + 1].text != ":" for k in range(*header)):
                colon = next(k for k in range(*header) if self.toks[k].text == ":")
                names = [t.text for t in self.toks[header[0]:colon] if t.kind == "id"]
                env = dict(env, **{n: ("value",) for n in names[-1:]})
            if self.holds_target(s) and header and header[0] <= self.target < header[1]:
                self.found_envs.append(dict(env))
            if s.parts[1]:
                self.breaks.append([])
                self.stmt(s.parts[1], dict(env))
                self.breaks.pop()
            return env
        if s.kind == "try":
            envs = [self.stmt(h, dict(env)) for h in s.parts if h]
            out = envs[0]
            for e in envs[1:]:
                out = merge(out, e)
            return out
        if s.kind == "return":
            a, b = s.range
            if b > a + 1:
                self.found_returns.append(("expr", self.here(env), (a + 1, b)))
            return None
        if s.kind == "break":
            if self.toks[s.range[0]].text == "break" and self.breaks:
                self.breaks[-1].append(env)
            return None
        if s.kind == "decl":
            return self.declare(s, env)
        if s.kind == "expr":
            return self.assign(s, env)
        return env

    def switch(self, s, env):
        # Each label runs to a break (or on into the next case); a switch
        # without default counts as covering its cases.
        labels = [n for n, x in enumerate(s.parts) if x.kind == "label"]
        outs = []
        for n in labels:
            self.breaks.append([])
            out = self.block([x for x in s.parts[n:] if x.kind != "label"], dict(env))
            outs += self.breaks.pop() + ([out] if out is not None else [])
        if not outs:
            return None
        out = outs[0]
        for e in outs[1:]:
            out = merge(out, e)
        return out

    def declare(self, s, env):
        toks, (a, b) = self.toks, s.range
        if toks[a].text in ("struct", "class") or toks[a].text == "const" and toks[a + 1].text == "struct":
            return env
        k = a
        while k < b and toks[k].text not in ("=", "(", "{", "[", ","):
            if toks[k].text == "<":
                depth = 1
                k += 1
                while depth and k < b:
                    depth += toks[k].text == "<"
                    depth -= 1 if toks[k].text == ">" else 2 if toks[k].text == ">>" else 0
                    k += 1
                continue
            k += 1
        type_ids = [t.text for t in toks[a:k - 1] if t.kind == "id"]
        sname = type_ids[-1] if type_ids else ""
        if k < b and toks[k].text == "[" and toks[k - 1].text in ("auto", "&", "&&"):  # structured binding
            close = close_of(toks, k)
            for t in toks[k:close]:
                if t.kind == "id":
                    env[t.text] = ("value",)
            return env
        for x, y in split_top(toks, k - 1, b, ","):
            if toks[x].kind != "id":
                continue
            var, k2, array = toks[x].text, x + 1, False
            if k2 < y and toks[k2].text == "[":
                k2, array = close_of(toks, k2) + 1, True
            if k2 >= y:
                env[var] = ("text", "") if sname in ("string", "wstring") and not array else ("value",)
            elif toks[k2].text == "=" and k2 + 1 < y and toks[k2 + 1].text == "{" and (array or sname in self.ev.program.structs):
                close = close_of(toks, k2 + 1)
                env[var] = self.brace(sname, k2 + 1, close, array)
            elif toks[k2].text == "=":
                env[var] = ("expr", self.here(dict(env)), (k2 + 1, y))
            elif toks[k2].text in ("(", "{"):
                close = close_of(toks, k2)
                if toks[k2].text == "{" and sname in self.ev.program.structs:
                    env[var] = self.brace(sname, k2, close, False)
                    continue
                args = [r for r in split_top(toks, k2 + 1, close, ",") if r[0] < r[1]]
                if len(args) == 1:
                    env[var] = ("expr", self.here(dict(env)), args[0])
                elif not args and sname in ("string", "wstring"):
                    env[var] = ("text", "")
                else:
                    env[var] = ("value",)
        return env

    def brace(self, sname, open_, close, array):
        toks = self.toks
        if array:
            ranges = [(x + 1, y - 1) for x, y in split_top(toks, open_ + 1, close, ",") if toks[x].text == "{"]
        else:
            ranges = [(open_ + 1, close)]
        return ("brace", sname, self.frame.src, ranges)

    def assign(self, s, env):
        toks, (a, b) = self.toks, s.range
        if toks[a].kind == "id" and a + 1 < b and toks[a].text in env:
            var, op = toks[a].text, toks[a + 1].text
            if op == "+=":
                if env[var] != ("value",):  # a text already out of sight stays a value
                    env[var] = ("concat", env[var], ("expr", self.here(dict(env)), (a + 2, b)))
                return env
            if op == "=":
                env[var] = ("expr", self.here(dict(env)), (a + 2, b))
                return env
            if op == "." and a + 3 < b and toks[a + 3].text == "(":
                method = toks[a + 2].text
                close = close_of(toks, a + 3)
                if method in ("append", "push_back") and env[var] != ("value",):
                    env[var] = ("concat", env[var], ("expr", self.here(dict(env)), (a + 4, close)))
                elif method == "clear":
                    env[var] = ("text", "")
                return env
        # A text handed to a function that may change it becomes a value.
        for k in range(a, b):
            t = toks[k]
            if t.kind == "id" and t.text in env and toks[k - 1].text in ("(", ",", "&") and \
                    toks[k + 1].text in (")", ","):
                if toks[k - 1].text == "&" or self.may_change(k):
                    env[t.text] = ("value",)
        return env

    def may_change(self, k):
        """Whether the call whose argument toks[k] is may change it."""
        toks, depth, j = self.toks, 0, k
        while j > 0:
            j -= 1
            if toks[j].text in (")", "]", "}"):
                depth += 1
            elif toks[j].text in OPEN:
                if depth == 0:
                    break
                depth -= 1
        if toks[j].text != "(" or toks[j - 1].kind != "id":
            return False
        slot = len(split_top(toks, j + 1, k + 1, ",")) - 1
        fns = self.ev.program.functions_named(toks[j - 1].text)
        if not fns:
            return True
        for fn in fns:
            if slot < len(fn.params):
                ptype = fn.params[slot][1]
                if "&" in ptype and not ptype.startswith("const") or "*" in ptype and "const" not in ptype:
                    return True
        return False


def merge(a, b):
    if a is None:
        return b
    if b is None:
        return a
    return {k: (v if b.get(k) is v else ("union", v, b[k])) for k, v in a.items() if k in b}


def assigned_names(toks, a, b):
    out = set()
    for k in range(a, b - 1):
        if toks[k].kind == "id" and toks[k + 1].text in ("=", "+=") and toks[k - 1].text not in (".", "->"):
            out.add(toks[k].text)
        if toks[k].kind == "id" and toks[k + 1].text == "." and toks[k + 2].text in ("append", "push_back", "clear"):
            out.add(toks[k].text)
    return out


# --- the log lines -----------------------------------------------------------------


@dataclasses.dataclass
class LogLine:
    log: str
    text: str  # the template as the guide shows it
    sites: list  # "file:line" of each call that writes it


def display(template):
    text = "".join(p if isinstance(p, str) else "<%s>" % words(p.name) for p in template)
    text = re.sub(r"%[sSd]", "<value>", text)
    return text.strip(" \n").replace("\n", "\\n")


def words(name):
    if not name:
        return "value"
    return re.sub(r"(?<=[a-z0-9])(?=[A-Z])", " ", name).replace("_", " ").lower()


APPEND_OPEN = re.compile(r'fopen\s*\([^;]*"\s*a|FILE_APPEND_DATA')


def extract(src_dir):
    """Every log line the sources under `src_dir` can write, in source order."""
    program = Program(src_dir)
    evaluator = Evaluator(program)
    lines = {}
    for src in program.sources:
        for number, text in src.directives:
            if any(re.search(r"\b%s\b" % writer, text) for writer in WRITERS):
                raise ExtractionError(f"{src.rel}:{number}: a log writer in a preprocessor line cannot be followed")
        toks = src.toks
        for k, t in enumerate(toks):
            if t.text not in WRITERS:
                continue
            fn = program.function_at(src, k)
            if fn is None and toks[k - 1].text in ("int", "bool", "void"):
                continue  # a writer's own declaration or definition
            if fn is None:
                evaluator.fail(src, k, f"{t.text} outside a function cannot be followed")
            if fn.name in WRITERS:
                continue  # one writer calling another
            if toks[k + 1].text != "(":
                evaluator.fail(src, k, f"{t.text} is used other than in a direct call")
            close = close_of(toks, k + 1)
            if in_nested_braces(toks, parse_block(toks, *fn.body), k):
                evaluator.fail(src, k, f"a {t.text} call inside a lambda or braced list cannot be followed")
            args = split_top(toks, k + 2, close, ",")
            if len(args) != 1 and t.text not in FORMAT_WRITERS:
                evaluator.fail(src, k, f"{t.text} takes one argument")
            templates = []
            at = Frame(fn, src, params_unbound(fn), 0)
            for env in Runner(evaluator, at).envs_at(k):
                templates += evaluator.eval(Frame(fn, src, env, 0, at.run), *args[0])
            if t.text in FORMAT_WRITERS:
                names = [argument_name(toks, *r) for r in args[1:]]
                templates = [(conversions_named(x, names), p) for x, p in templates]
            for template, _ in dedupe(templates):
                text = display(template)
                if text:
                    entry = lines.setdefault((WRITERS[t.text], text), LogLine(WRITERS[t.text], text, []))
                    entry.sites.append(f"{src.rel}:{t.line}")
        check_no_other_log(program, src)
    return list(lines.values())


def argument_name(toks, a, b):
    """The name an argument of a formatting writer goes by: its last name."""
    found = [t.text for t in toks[a:b] if t.kind == "id" and t.text not in KEYWORDS]
    return found[-1] if found else None


def conversions_named(template, names):
    """The template with each printf conversion a value named after the
    argument that fills it, in order."""
    out, n = [], 0
    for piece in template:
        if not isinstance(piece, str):
            out.append(piece)
            continue
        at = 0
        for m in CONVERSION.finditer(piece):
            out.append(piece[at : m.start()])
            if m.group() == "%%":
                out.append("%")
            else:
                out.append(Hole(names[n] if n < len(names) else None))
                n += 1
            at = m.end()
        out.append(piece[at:])
    return join(out)


def in_nested_braces(toks, stmts, k):
    """Whether toks[k] lies in braces inside an expression (a lambda's body or
    a braced list) rather than directly in a statement."""
    for s in stmts:
        if not s.range[0] <= k < s.range[1]:
            continue
        inner = [p for p in s.parts if isinstance(p, Stmt)]
        if any(p.range[0] <= k < p.range[1] for p in inner):
            return in_nested_braces(toks, inner if s.kind != "block" else s.parts, k)
        for j in range(s.range[0], k):
            if toks[j].text == "{" and close_of(toks, j) > k:
                return True
        return False
    return False


def check_no_other_log(program, src):
    text = " ".join(t.text for t in src.toks)
    if APPEND_OPEN.search(text):
        for fn in (f for fs in program.functions.values() for f in fs if f.file is src):
            body = " ".join(t.text for t in src.toks[fn.body[0] : fn.body[1]])
            if APPEND_OPEN.search(body) and fn.name not in WRITERS:
                raise ExtractionError(f"{src.rel}: {fn.name} opens a file for appending: a log this tool "
                                      f"does not know (add its writer to WRITERS in tools/log_lines.py)")
