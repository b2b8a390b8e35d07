* header comment

DOWNLOAD "AUTO.BAS"  	
* inside
  * indented star is program text
10 REM trailing 	 
MOVE

EOP
MOVE
* after the end
   
