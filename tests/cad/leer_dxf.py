"""Reads a DXF drawing with ezdxf, independently of the program, and prints what
a CAD program would find in it, one tab-separated line per item:

    version  <$ACADVER> <$DWGCODEPAGE> <audit errors>
    extension <$EXTMIN x y z> <$EXTMAX x y z>
    capa     <layer name> <colour>
    punto    <layer> <x> <y> <z>
    texto    <layer> <x> <y> <z> <height> <text as shown>

Numbers are Python's repr, which reads back as the same double.
Usage: python3 leer_dxf.py FILE.dxf
"""
import sys

import ezdxf
from ezdxf.tools.text import plain_text


def numeros(*valores):
    return "\t".join(repr(float(v)) for v in valores)


def main():
    sys.stdout.reconfigure(encoding="utf-8")
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    cabecera = doc.header
    print("version", cabecera["$ACADVER"], cabecera.get("$DWGCODEPAGE", ""), len(auditor.errors), sep="\t")
    print("extension", numeros(*cabecera["$EXTMIN"], *cabecera["$EXTMAX"]), sep="\t")
    for capa in doc.layers:
        if capa.dxf.name == "Defpoints":  # ezdxf adds it on loading
            continue
        print("capa", capa.dxf.name, capa.color, sep="\t")
    for entidad in doc.modelspace():
        tipo = entidad.dxftype()
        if tipo == "POINT":
            print("punto", entidad.dxf.layer, numeros(*entidad.dxf.location), sep="\t")
        elif tipo == "TEXT":
            print("texto", entidad.dxf.layer, numeros(*entidad.dxf.insert, entidad.dxf.height),
                  plain_text(entidad.dxf.text), sep="\t")
        else:
            print("otra", tipo, sep="\t")


if __name__ == "__main__":
    main()
