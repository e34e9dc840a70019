# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

"""Checks that scripts/manual-prose keeps the running prose of a manual's page and nothing else: each
row is a page in a language and the lines the script must write for it. Usage: SOURCE_DIR"""

import pathlib
import subprocess
import sys
import tempfile

ROWS = [
    ("a DocBook paragraph without its inline command and file name", "spanish",
     '<div class="para">Para instalar el paquete se usa <span class="command"><strong>apt-get'
     '</strong></span> con el archivo <code>sources</code> que ya está en el sistema.</div>',
     "Para instalar el paquete se usa con el archivo que ya está en el sistema.\n"),
    ("a paragraph the translation left in English is dropped", "spanish",
     "<p>The tool «para todos los usuarios del sistema» is built on the same library and is "
     "thus very close to it.</p>"
     "<p>La herramienta es de la misma biblioteca y por eso es muy parecida.</p>",
     "La herramienta es de la misma biblioteca y por eso es muy parecida.\n"),
    ("listings, titles and tables are no prose", "portuguese",
     '<h2 class="title">O sistema</h2><pre class="screen">apt install o de que</pre>'
     "<table><tr><td><p>Também pode ver o nome, mas não pode fechar.</p></td></tr></table>"
     "<p>O utilizador pode ver <pre>ls -l</pre> o ficheiro que se abre no ecrã, mas também pode "
     "fechar.</p>",
     "O utilizador pode ver o ficheiro que se abre no ecrã, mas também pode fechar.\n"),
    ("tokens with digits, paths, addresses and acronyms are dropped", "portuguese",
     "<p>O servidor de nomes DNS da rede local 192.168.0.1 usa o sources.list "
     "e o de https://debian.org/ para que o cliente veja a_b.</p>",
     "O servidor de nomes da rede local usa o e o de para que o cliente veja\n"),
    ("a Mallard paragraph without its keys and commands", "portuguese",
     "<page><section><p>Prima <keyseq><key>Ctrl</key><key>C</key></keyseq> para copiar o texto "
     "que também pode ver na janela, ou use <cmd>xclip</cmd> se <em>quiser</em>.</p></section>"
     "</page>",
     "Prima para copiar o texto que também pode ver na janela, ou use se quiser .\n"),
]


def main():
    script = pathlib.Path(sys.argv[1]) / "scripts" / "manual-prose"
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        for name, language, page, expected in ROWS:
            path = pathlib.Path(folder) / "page.html"
            path.write_text(page, encoding="utf-8")
            written = subprocess.run([sys.executable, str(script), language, str(path)],
                                     capture_output=True, text=True, check=True).stdout
            if written != expected:
                failed += 1
                print(f"FAIL: {name}: wrote {written!r}, not {expected!r}")
    print(f"{len(ROWS) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
