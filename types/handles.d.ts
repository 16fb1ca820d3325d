// Numbers that name native objects JavaScript holds (players, data sources,
// download listeners, device modules, agents, ...): positive safe integers
// that the module issues once and never again. After its destroy export a
// number names nothing for the rest of the process; a stale, forged or
// another kind's number gets the export's neutral answer. Each kind is a type
// of its own, so a data source does not compile where a player is wanted.

declare const handleKind: unique symbol;

/** A number naming one object of kind `K`. */
export type Handle<K extends string> = number & { readonly [handleKind]: K };

// Only what is exported above leaves this file.
export {};
