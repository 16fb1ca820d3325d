'use strict';
// index.d.ts read with the TypeScript compiler API, for the tests that hold
// the declarations against the module: the declared exports with their
// parameters, sample values of declared types (objects that note every key
// the add-on reads and every method it calls), and the problems of a value
// that does not match its declared type.
const path = require('path');
const ts = require('typescript');

const root = path.resolve(__dirname, '..', '..');
const FILE = path.join(root, 'index.d.ts');

let loaded;
function load() {
  if (loaded) return loaded;
  // The libraries an app on Node has, without the DOM's, which take most of the time.
  const program = ts.createProgram([FILE], {
    strict: true,
    noEmit: true,
    target: ts.ScriptTarget.ES2022,
    lib: ['lib.es2022.d.ts'],
    types: ['node'],
  });
  const checker = program.getTypeChecker();
  const source = program.getSourceFile(FILE);
  // Of this file only: checking all of Node's declarations takes seconds.
  const diagnostics = [
    ...program.getSyntacticDiagnostics(source),
    ...program.getSemanticDiagnostics(source),
  ].map((d) => ts.flattenDiagnosticMessageText(d.messageText, '\n'));
  loaded = { program, checker, source, module: checker.getSymbolAtLocation(source), diagnostics };
  return loaded;
}

const TYPED_ARRAYS = new Set([
  'Int8Array', 'Uint8Array', 'Uint8ClampedArray', 'Int16Array', 'Uint16Array', 'Int32Array', 'Uint32Array',
  'Float32Array', 'Float64Array', 'BigInt64Array', 'BigUint64Array', 'Buffer',
]);

const F = ts.TypeFlags;
const symbolName = (type) => (type.symbol ? type.symbol.getName() : '');
const isBuffer = (type) => symbolName(type) === 'Buffer';
const isTypedArray = (type) =>
  type.isUnion() ? type.types.every(isTypedArray) : TYPED_ARRAYS.has(symbolName(type));
const BYTES = new Set([...TYPED_ARRAYS, 'ArrayBuffer', 'DataView']);
const isBytes = (type) => (type.isUnion() ? type.types.every(isBytes) : BYTES.has(symbolName(type)));
const isFunctionType = (type) => type.getCallSignatures().length > 0 && type.getProperties().length === 0;
const hasMethods = (type) =>
  type.getProperties().some((p) => load().checker.getTypeOfSymbol(p).getCallSignatures().length > 0);
const isOptional = (symbol) => (symbol.flags & ts.SymbolFlags.Optional) !== 0;
const show = (type) => load().checker.typeToString(type);
// A branded primitive (a handle: number & { [kind]: K }) is checked as its primitive.
const PRIMITIVE = F.NumberLike | F.StringLike | F.BooleanLike;
function unbrand(type) {
  if (!type.isIntersection()) return type;
  return type.types.find((t) => t.flags & PRIMITIVE) || type;
}

// The admission letter a value of the type passes: n number, s string,
// b boolean, a array, t typed array, B bytes (ArrayBuffer, typed array or
// DataView), f function, o object, * anything.
function letterOf(type) {
  const { checker } = load();
  type = unbrand(type);
  if (type.flags & (F.Any | F.Unknown)) return '*';
  if (type.flags & F.NumberLike) return 'n';
  if (type.flags & F.StringLike) return 's';
  if (type.flags & F.BooleanLike) return 'b';
  if (isTypedArray(type)) return 't';
  if (isBytes(type)) return 'B';
  if (checker.isArrayType(type) || checker.isTupleType(type)) return 'a';
  if (type.isUnion()) {
    const letters = new Set(type.types.map(letterOf));
    return letters.size === 1 ? [...letters][0] : '*';
  }
  if (isFunctionType(type)) return 'f';
  if (type.flags & (F.Object | F.NonPrimitive)) return 'o';
  return '?';
}

function describeParameter(checker, p) {
  // An optional parameter's own type, without the undefined that strict mode adds.
  const type = checker.getTypeAtLocation(p).getNonNullableType();
  return {
    name: p.name.getText(),
    type: show(type),
    letter: letterOf(type),
    optional: Boolean(p.questionToken || p.initializer),
    rest: Boolean(p.dotDotDotToken),
    tsType: type,
  };
}

/**
 * Every function export of index.d.ts, in declaration order:
 * { name, params: [{ name, type, letter, optional, rest, tsType }], required,
 *   letters (the required parameters' letters, comparable with an export's
 *   admission letters), returns, returnType }.
 */
function declaredExports() {
  const { checker, module } = load();
  const out = [];
  for (const symbol of checker.getExportsOfModule(module)) {
    if (!(symbol.flags & ts.SymbolFlags.Function)) continue;
    const decls = symbol.getDeclarations().filter(ts.isFunctionDeclaration);
    // One signature each: with overloads, which one an admission is compared with would be a guess.
    if (decls.length !== 1) throw new Error(`${symbol.getName()}: ${decls.length} declarations, expected one`);
    const signature = checker.getSignatureFromDeclaration(decls[0]);
    const params = decls[0].parameters.map((p) => describeParameter(checker, p));
    const required = params.filter((p) => !p.optional && !p.rest);
    const returnType = checker.getReturnTypeOfSignature(signature);
    out.push({
      name: symbol.getName(),
      params,
      required: required.length,
      letters: required.map((p) => p.letter).join(''),
      returns: show(returnType),
      returnType,
    });
  }
  return out;
}

/** Exported names that are values but not functions (there should be none). */
function declaredValuesOtherThanFunctions() {
  const { checker, module } = load();
  return checker
    .getExportsOfModule(module)
    .filter((s) => s.flags & ts.SymbolFlags.Value && !(s.flags & (ts.SymbolFlags.Function | ts.SymbolFlags.Class)))
    .map((s) => s.getName());
}

/** Exported classes: module properties that JavaScript constructs. */
function declaredClasses() {
  const { checker, module } = load();
  return checker.getExportsOfModule(module).filter((s) => s.flags & ts.SymbolFlags.Class).map((s) => s.getName());
}

/**
 * What a usage file uses of the module: the exports it calls on the namespace
 * it imports the module as, and the names it refers to as types.
 */
function usedIn(file) {
  const source = ts.createSourceFile(file, require('fs').readFileSync(file, 'utf8'), ts.ScriptTarget.ES2022, true);
  const namespaces = new Set();
  const calls = new Set();
  const types = new Set();
  const visit = (node) => {
    if (ts.isImportDeclaration(node) && node.importClause?.namedBindings && ts.isNamespaceImport(node.importClause.namedBindings))
      namespaces.add(node.importClause.namedBindings.name.text);
    if (ts.isImportSpecifier(node)) types.add((node.propertyName || node.name).text);
    if (ts.isTypeReferenceNode(node)) types.add(node.typeName.getText(source));
    if (ts.isCallExpression(node) && ts.isPropertyAccessExpression(node.expression) && ts.isIdentifier(node.expression.expression))
      calls.add([node.expression.expression.text, node.expression.name.text]);
    ts.forEachChild(node, visit);
  };
  visit(source);
  return { calls: new Set([...calls].filter(([ns]) => namespaces.has(ns)).map(([, name]) => name)), types };
}

/** Exported interfaces that declare methods: the callback objects an app implements. */
function callbackInterfaces() {
  const { checker, module } = load();
  return checker
    .getExportsOfModule(module)
    .filter((s) => s.flags & ts.SymbolFlags.Interface && hasMethods(checker.getDeclaredTypeOfSymbol(s)))
    .map((s) => s.getName());
}

/** The declared parameters of a method signature, as types. */
function parameterTypes(signature) {
  const { checker } = load();
  return signature.getParameters().map((p) => checker.getTypeOfSymbol(p));
}

/**
 * Notes what the add-on does with sample objects: calls of declared methods
 * (with the declared signature, to check the arguments against), reads of
 * keys no declaration has, and the methods each interface declares.
 */
class Recorder {
  constructor() {
    this.calls = [];
    this.undeclared = [];
    this.interfaces = new Map(); // interface name → its declared methods: { name, optional, signature }
  }

  calledMethods(iface) {
    return new Set(this.calls.filter((c) => c.iface === iface).map((c) => c.method));
  }
}

/**
 * A value of the declared type: 1, 's', false, [sample], a Uint8Array or
 * Buffer, or an object holding its required keys, whose declared methods
 * record their calls. Objects are Proxies that note keys read but not
 * declared; such a method answers a no-op so that delivery goes on.
 */
function sample(type, recorder) {
  const { checker } = load();
  type = unbrand(type);
  if (type.isNumberLiteral() || type.isStringLiteral()) return type.value;
  if (type.flags & (F.Any | F.Unknown)) return 's';
  if (type.flags & F.NumberLike) return 1;
  if (type.flags & F.StringLike) return 's';
  if (type.flags & F.BooleanLike) return false;
  if (isBuffer(type)) return Buffer.from([1]);
  if (symbolName(type) === 'ArrayBuffer') return new ArrayBuffer(1);
  if (isTypedArray(type)) {
    // The kind declared, where it names one: some exports take only that kind.
    const Kind = type.isUnion() ? Uint8Array : globalThis[symbolName(type)] || Uint8Array;
    return new Kind(symbolName(type).startsWith('Big') ? [1n] : [1]);
  }
  if (checker.isArrayType(type)) return [sample(checker.getTypeArguments(type)[0], recorder)];
  if (type.isUnion()) return sample(type.types.find((t) => !(t.flags & (F.Undefined | F.Null))), recorder);
  if (isFunctionType(type) || symbolName(type) === 'Function') return function sampled() {};

  const iface = show(type);
  const target = {};
  const declared = new Set();
  const methods = [];
  for (const prop of checker.getPropertiesOfType(type)) {
    const name = prop.getName();
    const propType = checker.getTypeOfSymbol(prop);
    declared.add(name);
    const [signature] = propType.getNonNullableType().getCallSignatures();
    if (signature) {
      methods.push({ name, optional: isOptional(prop), signature });
      target[name] = function recorded(...args) {
        recorder.calls.push({ iface, method: name, signature, args });
      };
    } else if (!isOptional(prop)) {
      target[name] = sample(propType, recorder);
    }
  }
  if (methods.length > 0 || type.flags & F.NonPrimitive) recorder.interfaces.set(iface, methods);
  const callbacks = methods.length > 0 || Boolean(type.flags & F.NonPrimitive);
  return new Proxy(target, {
    get(t, key, receiver) {
      if (typeof key !== 'string' || declared.has(key) || key in Object.prototype) return Reflect.get(t, key, receiver);
      recorder.undeclared.push(`${iface}.${key}`);
      return callbacks ? () => {} : undefined;
    },
  });
}

/**
 * What keeps `value` from being a value of the declared type: wrong
 * primitives, missing required keys, keys no declaration has, elements that
 * do not match. Empty when it matches.
 */
function problems(value, type, where = 'value') {
  const { checker } = load();
  type = unbrand(type);
  const out = [];
  const fail = (what) => out.push(`${where}: ${what}`);
  const got = () => (Buffer.isBuffer(value) ? 'a Buffer' : JSON.stringify(value) ?? String(value));

  if (type.flags & (F.Any | F.Unknown)) return out;
  if (typeof value === 'function' && (isFunctionType(type) || symbolName(type) === 'Function')) return out;
  if (type.isUnion()) {
    if (!type.types.some((t) => problems(value, t, where).length === 0)) fail(`${got()} is not ${show(type)}`);
    return out;
  }
  if (type.isNumberLiteral() || type.isStringLiteral()) {
    if (value !== type.value) fail(`${got()} is not ${show(type)}`);
  } else if (type.flags & F.BooleanLiteral) {
    if (String(value) !== show(type)) fail(`${got()} is not ${show(type)}`);
  } else if (type.flags & F.NumberLike) {
    if (typeof value !== 'number') fail(`${got()} is not a number`);
  } else if (type.flags & F.StringLike) {
    if (typeof value !== 'string') fail(`${got()} is not a string`);
  } else if (type.flags & (F.Void | F.Undefined)) {
    if (value !== undefined) fail(`${got()} is not undefined`);
  } else if (type.flags & F.Null) {
    if (value !== null) fail(`${got()} is not null`);
  } else if (isBuffer(type)) {
    if (!Buffer.isBuffer(value)) fail(`${got()} is not a Buffer`);
  } else if (isTypedArray(type)) {
    if (!ArrayBuffer.isView(value)) fail(`${got()} is not a typed array`);
  } else if (symbolName(type) === 'ArrayBuffer') {
    if (!(value instanceof ArrayBuffer)) fail(`${got()} is not an ArrayBuffer`);
  } else if (checker.isArrayType(type)) {
    if (!Array.isArray(value)) fail(`${got()} is not an array`);
    else value.forEach((e, i) => out.push(...problems(e, checker.getTypeArguments(type)[0], `${where}[${i}]`)));
  } else if (isFunctionType(type)) {
    if (typeof value !== 'function') fail(`${got()} is not a function`);
  } else if (type.flags & (F.Object | F.NonPrimitive)) {
    if (value === null || (typeof value !== 'object' && typeof value !== 'function')) {
      fail(`${got()} is not an object`);
      return out;
    }
    const props = checker.getPropertiesOfType(type);
    const names = new Set(props.map((p) => p.getName()));
    for (const prop of props) {
      const key = prop.getName();
      if (!(key in value)) {
        if (!isOptional(prop)) fail(`lacks the key "${key}" of ${show(type)}`);
        continue;
      }
      out.push(...problems(value[key], checker.getTypeOfSymbol(prop).getNonNullableType(), `${where}.${key}`));
    }
    // Interfaces with methods are the app's objects: only records are held to their keys.
    if (!hasMethods(type) && !(type.flags & F.NonPrimitive)) {
      for (const key of Object.keys(value)) if (!names.has(key)) fail(`has the key "${key}" that ${show(type)} does not declare`);
    }
  } else {
    fail(`no check for ${show(type)}`);
  }
  return out;
}

module.exports = {
  declaredClasses,
  FILE,
  load,
  declaredExports,
  declaredValuesOtherThanFunctions,
  callbackInterfaces,
  usedIn,
  parameterTypes,
  letterOf,
  Recorder,
  sample,
  problems,
  isBuffer,
};
