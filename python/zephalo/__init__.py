"""ZEPHALO from Python: RIXS spectra from selective XAFS.

Two ways in:

* :class:`Workspace` runs any zephalo-cli command as one step on a work-space
  folder, with the same lock, journal, history and undo as the desktop program
  and the command line, and reads the work-space files as numpy arrays.
* :class:`Model` holds the inputs of the RIXS calculation in memory and
  computes spectra, planes and R factors from them without writing any file.

Refusals raise :class:`Refused` with the program's own message; a command line
that zephalo-cli would not accept raises :class:`UsageError`.
"""

from __future__ import annotations

import math
import os
from dataclasses import dataclass
from typing import List, Optional, Tuple, Union

import numpy as np

from . import _zephalo
from ._zephalo import FitResult, Model, Refused, __version__

__all__ = ["FitResult", "Model", "Refused", "Report", "UsageError", "Workspace", "__version__"]

Refused.__module__ = __name__
Refused.__doc__ = (
    "A step or calculation refused: the files are as they were. "
    "str(error) and error.message are the program's message."
)
Refused.message = property(  # type: ignore[attr-defined]
    lambda self: str(self), doc="The program's message, as str(error)."
)
Model.__module__ = __name__
FitResult.__module__ = __name__

PathLike = Union[str, "os.PathLike[str]"]


class UsageError(ValueError):
    """A command, argument or option that zephalo-cli does not accept."""


@dataclass(frozen=True)
class Report:
    """What one step printed: ``text`` is its message, ``r`` the R factor
    (percent) it printed as ``R=<value>``, or None when it printed none."""

    text: str
    r: Optional[float] = None


def _option_words(name: str, value: object) -> list:
    """The command-line words of one keyword option (none for False/None)."""
    if value is None or value is False:
        return []
    flag = "--" + name.rstrip("_").replace("_", "-")
    if value is True:
        return [flag]
    if isinstance(value, (list, tuple)):
        value = ",".join(_word(v) for v in value)
    return [flag, _word(value)]


def _word(value: object) -> str:
    if isinstance(value, float):
        if not math.isfinite(value):
            raise UsageError(f"not a finite number: {value!r}")
        return repr(value)
    return os.fspath(value) if isinstance(value, os.PathLike) else str(value)


def _report(output: str) -> Report:
    lines = output.splitlines()
    figures = [line for line in lines if line.startswith("R=")]
    text = "\n".join(line for line in lines if not line.startswith("R="))
    return Report(text, float(figures[-1][2:]) if figures else None)


class Workspace:
    """A work-space folder, for running steps on it and reading its files.

    ``Workspace(path)`` does not touch the folder; the ``create`` step makes it.
    """

    def __init__(self, path: PathLike) -> None:
        self.path = os.fspath(path)

    def __repr__(self) -> str:
        return f"Workspace({self.path!r})"

    def step(self, command: str, *args: object, **options: object) -> Report:
        """Runs one zephalo-cli command on this work space as one step.

        ``args`` are the positional words (``ws.step("import", "rixs", path)``);
        each keyword becomes an option: ``omega=7114`` is ``--omega 7114``,
        ``from_=7110`` is ``--from 7110``, underscores become dashes, True a
        bare flag, False and None nothing, a list or tuple comma-separated
        values. Returns a :class:`Report`; raises :class:`Refused` when the
        step refuses and :class:`UsageError` for a command line zephalo-cli
        does not accept.
        """
        words = ["--workspace", self.path, command]
        words += [_word(a) for a in args]
        for name, value in options.items():
            words += _option_words(name, value)
        code, out, err = _zephalo.run_cli(words)
        if code == 0:
            return _report(out)
        message = err.rstrip("\n")
        if code == 1:
            raise Refused(message)
        raise UsageError(message)

    def calculated(self) -> Tuple[np.ndarray, np.ndarray, np.ndarray, np.ndarray]:
        """Calculated_RIXS.DAT: (emission energy, total, component 1, component 2)."""
        return _zephalo.read_calculated(self.path)

    def measured(self) -> Tuple[np.ndarray, np.ndarray]:
        """The measured RIXS spectrum (RIXSEXP.DAT): (emission energy, intensity)."""
        return _zephalo.read_measured(self.path)

    def measured_map(self) -> List[Tuple[float, Tuple[np.ndarray, np.ndarray]]]:
        """The measured RIXS map (RIXSEXP_Map.DAT): a list, in ascending excitation
        energy, of (excitation energy, (emission energy, intensity)); empty when
        the work space holds no map."""
        return _zephalo.read_measured_map(self.path)

    def selective(self) -> Tuple[np.ndarray, np.ndarray, np.ndarray]:
        """SelectiveXAFS_for_RIXS.DAT: (energy, first component, second component)."""
        return _zephalo.read_selective(self.path)

    def model(self) -> Model:
        """The calculation's inputs of this work space in memory (Model.from_workspace)."""
        return Model.from_workspace(self.path)
